// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace velmora {

// Ordinary control hints: white background, shown for 5000 ms whatever their length.
class HintStyle {
public:
    static constexpr int kDisplayMs = 5000;
    static void install(QApplication &application);
};

} // namespace velmora
