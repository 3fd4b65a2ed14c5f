// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// VELMORA_ASAN: built with AddressSanitizer (GCC says so with a macro, Clang with a feature).
// Such a build reserves terabytes of address space for its shadow memory, so a test cannot
// limit the address space there; it uses the sanitizer's own allocator instead (HeapPeak,
// and the ASAN_OPTIONS allocator limits for a child process).

#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_ASAN 1
#endif
#endif

#ifdef VELMORA_ASAN
#include <atomic>
#include <cstddef>

extern "C" {
// From the sanitizers' allocator interface (sanitizer/allocator_interface.h, which not every
// compiler installs).
int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void *,
                                                                 std::size_t),
                                              void (*freeHook)(const volatile void *));
std::size_t __sanitizer_get_allocated_size(const volatile void *pointer);
}

// The most heap memory held at once while an object of this class lives, counted by the
// sanitizer's allocator hooks: what an address-space limit measures in a build without it.
class HeapPeak {
public:
    HeapPeak() {
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(allocated, freed);
        (void)installed;
        s_current = 0;
        s_peak = 0;
        s_counting = true;
    }
    ~HeapPeak() { s_counting = false; }
    HeapPeak(const HeapPeak &) = delete;
    HeapPeak &operator=(const HeapPeak &) = delete;

    long long bytes() const { return s_peak; }

private:
    static void allocated(const volatile void *, std::size_t size) {
        if (!s_counting)
            return;
        const long long now = s_current += static_cast<long long>(size);
        long long peak = s_peak;
        while (now > peak && !s_peak.compare_exchange_weak(peak, now)) {
        }
    }
    static void freed(const volatile void *pointer) {
        if (s_counting && pointer)
            s_current -= static_cast<long long>(__sanitizer_get_allocated_size(pointer));
    }

    static inline std::atomic<bool> s_counting = false;
    static inline std::atomic<long long> s_current = 0;
    static inline std::atomic<long long> s_peak = 0;
};
#endif
