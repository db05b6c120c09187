// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <memory>

// The per-user settings store: an INI file "ZEL_Editor.ini" in the user's
// configuration folder ($XDG_CONFIG_HOME, by default ~/.config).
std::unique_ptr<QSettings> openUserSettings();
