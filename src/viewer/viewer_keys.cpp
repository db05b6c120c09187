// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/viewer_keys.h"

namespace ViewerKeys {

KeyCommand keyCommand(int keyCode, std::int16_t remoteScreen)
{
    KeyCommand command;
    if (keyCode >= 'a' && keyCode <= 'x') {
        command.screen = std::int16_t((keyCode - 'a') / 8 + 1);
        command.button = std::int16_t((keyCode - 'a') % 8 + 1);
    } else if (keyCode >= 'A' && keyCode <= 'X') {
        command.screen = std::int16_t((keyCode - 'A') / 8 + 4);
        command.button = std::int16_t((keyCode - 'A') % 8 + 1);
    } else if (keyCode >= '1' && keyCode <= '8') {
        if (remoteScreen > 0) {
            command.screen = remoteScreen;
            command.button = std::int16_t(keyCode - '0');
        }
    } else if (keyCode == 'z' || keyCode == 'Z') {
        command.closesViewer = true;
    }
    return command;
}

} // namespace ViewerKeys
