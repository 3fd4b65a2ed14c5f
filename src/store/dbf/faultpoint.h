// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// Thrown at an armed fault point. It is deliberately not an Error, nor a std::exception, so
// that no rollback or error handler of the code under test runs: the effect on disk is what
// a kill at that moment would leave.
struct SimulatedKill {};

// Every step that changes a file on disk (a write, a flush, a rename, a removal) passes a
// fault point first. Tests arm the n-th next point to stop a write sequence there.
class FaultPoint {
public:
    static void hit();
    // The n-th hit from now (1 for the next) throws SimulatedKill; 0 disarms.
    static void arm(int n);
    static void disarm() { arm(0); }
    // Hits since the last arm(), armed or not: lets a test count the steps of an operation.
    static int hits();
};

} // namespace velmora
