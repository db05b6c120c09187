// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The web engine cannot run its sandbox for a process of the superuser and
// ends the whole program instead. Called before the engine starts: for the
// superuser, the engine runs without its sandbox (QTWEBENGINE_DISABLE_SANDBOX),
// since the pages it shows are the author's own. Returns whether it did so.
bool runWebEngineWithoutSandboxForSuperuser();
