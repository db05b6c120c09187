// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "viewer/kiosk_web_page.h"

#include <QString>

// The Preview window's page: a viewer page (the same navigation guard, no
// dialogs, no windows of its own) that can load the content frame of the
// frameset it shows again without loading the frameset and the navigation
// frame, the way the kiosk itself loads a frame.
class PreviewWebPage : public KioskWebPage {
    Q_OBJECT
public:
    PreviewWebPage(Guard guard, QObject* parent);

    // Loads the shown frameset's content frame again from its file. Answers
    // through contentLoaded(serial) once the frame has loaded, or
    // contentNotReloaded(serial) at once when the page shown has no content
    // frame. The navigation goes through the guard like any other.
    void reloadContent(int serial);

signals:
    void contentLoaded(int serial);
    void contentNotReloaded(int serial);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;

private:
    QString m_loadedPrefix; // starts the report of a loaded frame; the pages cannot know it
};
