// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QWidget>

class QAction;
class QLabel;
class QListWidget;
class QStackedLayout;

// What the main window shows beneath its menus. With no kiosk system open:
// the recent kiosk systems (each with its root page's title), Open and
// Create New. With one open: its folder, how many page sources it has, how
// the last make went, and buttons for the common commands. The buttons are
// the menus' own commands, so texts, keys and states stay the same.
class StartView : public QWidget {
    Q_OBJECT

public:
    // open and createNew are the File menu's commands; commands the ones
    // offered for an open kiosk system, in order.
    StartView(QAction* open, QAction* createNew, const QList<QAction*>& commands, QWidget* parent = nullptr);

    // Lists the recent kiosk systems, most recent first, by folder; each root
    // page's title and picture are added once the event loop runs.
    void showRecent(const QStringList& folders);
    // Shows the open kiosk system and the last make's result ("" for none yet).
    void showKioskSystem(const QString& folder, const QString& lastMake);

    QListWidget* recentList() const { return m_recent; }
    QLabel* summaryLabel() const { return m_summary; }

    // The title of a kiosk system's root page, as the overview reads it ("" when it has none or cannot be read).
    static QString rootTitleOf(const QString& folder);
    // The first picture a kiosk system's root page shows (#image), at most
    // size, read for a screen of this device pixel ratio (so that it is
    // sharp there); null when it shows none or it cannot be read.
    static QPixmap rootPictureOf(const QString& folder, const QSize& size, qreal devicePixelRatio);
    // How many page sources the page folders of a kiosk system hold.
    static int pageSourceCountOf(const QString& folder);

signals:
    // The recent kiosk system at this position of the list (0 the most recent) was chosen.
    void recentChosen(int position);

private:
    QStackedLayout* m_pages;
    QListWidget* m_recent;
    QLabel* m_summary;
};
