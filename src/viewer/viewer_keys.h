// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// What a key pressed in the kiosk viewer stands for. Keys replace touches on
// the navigation bars: "a"-"h", "i"-"p", "q"-"x" are buttons 1-8 of screens
// 1-3, "A"-"H", "I"-"P", "Q"-"X" buttons 1-8 of screens 4-6, "1"-"8" buttons
// of the remote screen, "z"/"Z" close the viewer. Every other key means nothing.
namespace ViewerKeys {

struct KeyCommand {
    bool closesViewer = false;
    // 0 when the key names no screen.
    std::int16_t screen = 0;
    // 1 to 8 when screen is set.
    std::int16_t button = 0;
};

// keyCode is the character code of the key. remoteScreen is the value of
// "remotescreen"; 0 or less turns the digit keys off. Whether the screen
// exists is the caller's test (it depends on "screens").
KeyCommand keyCommand(int keyCode, std::int16_t remoteScreen);

} // namespace ViewerKeys
