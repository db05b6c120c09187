// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/engine_windows.h"

#include "preview/preview_window.h"
#include "viewer/viewer_window.h"
#include "viewer/web_engine_warm_up.h"
#include "workbench/workbench.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QQuickWindow>
#include <QSGRendererInterface>

void EngineWindows::viewPage(Workbench& workbench, const QString& htmlPath)
{
    ViewerWindow& viewer = workbench.instance<ViewerWindow>();
    viewer.setPage(htmlPath);
    viewer.showPage();
}

PreviewPane& EngineWindows::preview(Workbench& workbench) { return workbench.instance<PreviewWindow>(); }

PreviewPane* EngineWindows::existingPreview(Workbench& workbench)
{
    return workbench.exists<PreviewWindow>() ? &workbench.instance<PreviewWindow>() : nullptr;
}

void EngineWindows::warmUp() { WebEngineWarmUp::start(); }

namespace {

// The engine draws through Qt's shared OpenGL context, which Qt makes only
// when asked before the application starts: that loads OpenGL and doubles the
// desktop program's time to its first window, so the program does without.
// Loaded after the start (as the program's module) and finding none, the
// windows are drawn by Qt Quick's software renderer, and the engine, told so,
// draws without the graphics card. The engine's report of how it draws reads
// the shared context's format, there or not (Qt 6.4): it is not asked for.
void drawWithoutSharedContext()
{
    if (!QCoreApplication::instance() || QOpenGLContext::globalShareContext())
        return;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.split(' ').contains("--disable-gpu"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + " --disable-gpu").trimmed());
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}

[[maybe_unused]] const bool provided = [] {
    drawWithoutSharedContext();
    static EngineWindows windows;
    EngineWindows::provideThese(windows);
    return true;
}();
} // namespace
