// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class PreviewPane;
class Session;
class Workbench;

// The windows that draw pages with the web engine: the viewer and the
// preview. The engine is large and slow to load, so the desktop program does
// not link it: these windows are a module of their own (kModuleName in the
// program folder), loaded the first time one of them is needed, which takes
// the rest of the program from the library the program is built on. Programs
// that link the windows themselves (the tests, the tools) have them from the start.
class WebWindows {
public:
    static constexpr const char* kModuleName = "zel_web_windows.so";

    // The windows, loading the module first when they are not there yet; when
    // it cannot be loaded the author is told so and nullptr is returned.
    static WebWindows* load(Session& session);
    // As load, without a message (the engine's early start).
    static WebWindows* loadQuietly(const Session& session);
    // The windows when they are there; otherwise nullptr (and none of them exists).
    static WebWindows* loaded();

    // Shows the made page (HTML path) in the viewer.
    virtual void viewPage(Workbench& workbench, const QString& htmlPath) = 0;
    // The one Preview window, made on first use.
    virtual PreviewPane& preview(Workbench& workbench) = 0;
    // The Preview window while it exists; otherwise nullptr.
    virtual PreviewPane* existingPreview(Workbench& workbench) = 0;
    // Starts the engine with nothing to show, so that the first page shows
    // without waiting for it.
    virtual void warmUp() = 0;

protected:
    virtual ~WebWindows() = default;
    // Called once by the code holding the windows as it loads.
    static void provide(WebWindows& windows);
};
