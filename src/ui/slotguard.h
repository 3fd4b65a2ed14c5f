// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/text/error.h"
#include "ui/errorbox.h"

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace velmora {

// Exceptions must not cross Qt's signal dispatch. guardSlot wraps a callable for connect: the
// wrapper runs it with the signal's arguments (or with none, when it takes none) and shows an
// error it raises in the error box, in the user's words (userMessage), where the operation it
// stopped ends. The application's
// notify stays only as the last net.
//
//     connect(button, &QPushButton::clicked, this, guardSlot([this] { save(); }));
template <typename Callable>
auto guardSlot(Callable callable) {
    return [callable = std::move(callable)](auto &&...args) mutable {
        try {
            if constexpr (std::is_invocable_v<Callable &, decltype(args)...>)
                std::invoke(callable, std::forward<decltype(args)>(args)...);
            else
                std::invoke(callable);
        } catch (...) {
            ErrorBox::show(userMessage(std::current_exception()));
        }
    };
}

} // namespace velmora
