// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/dbf/faultpoint.h"

namespace velmora {

namespace {
int g_armedAt = 0;
int g_hits = 0;
} // namespace

void FaultPoint::hit() {
    ++g_hits;
    if (g_armedAt != 0 && g_hits == g_armedAt) {
        g_armedAt = 0;
        throw SimulatedKill{};
    }
}

void FaultPoint::arm(int n) {
    g_armedAt = n;
    g_hits = 0;
}

int FaultPoint::hits() {
    return g_hits;
}

} // namespace velmora
