// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/finding.h"
#include "preview/preview_folder.h"
#include "workbench/single_instance_window.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

// What an editor asks of the Preview window (PreviewWindow), without the web
// engine that draws it: the window lives in the web windows' module, loaded
// on first use (WebWindows), and the editors talk to it through this.
class PreviewPane : public SingleInstanceWindow {
    Q_OBJECT
public:
    // What the followed editor holds now; none when there is nothing to make
    // (no kiosk system open).
    using PageSource = std::function<std::optional<PreviewPage>()>;

    // Follows source (an editor) from now on and makes its page at once.
    virtual void follow(QObject* source, PageSource page) = 0;
    // The followed source changed: its page is made again after the pause.
    virtual void sourceChanged(QObject* source) = 0;
    // source is going: when it is the one followed, the pane is cleared.
    virtual void forget(QObject* source) = 0;
    virtual QObject* followed() const = 0;
    // The problems of the page shown, in line order; lines are the page
    // source's (the page type line is line 1).
    virtual const QList<Finding>& problems() const = 0;
    // The text (PreviewPage::body) the problems were found in.
    virtual const QString& problemsText() const = 0;

signals:
    void problemsChanged();
    // The author asked to see a problem's line (page source line) in source.
    void goToLine(QObject* source, int line);
    // A newly made page has been loaded into the pane.
    void pageShown();
    void cleared();

protected:
    using SingleInstanceWindow::SingleInstanceWindow;
};
