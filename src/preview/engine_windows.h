// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "preview/web_windows.h"

// The web windows themselves: the viewer (ViewerWindow) and the preview
// (PreviewWindow), provided as the code holding them (the module, or a
// program linking them) loads.
class EngineWindows : public WebWindows {
public:
    void viewPage(Workbench& workbench, const QString& htmlPath) override;
    PreviewPane& preview(Workbench& workbench) override;
    PreviewPane* existingPreview(Workbench& workbench) override;
    void warmUp() override;

    static void provideThese(EngineWindows& windows) { provide(windows); }
};
