// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QMap>
#include <QPair>
#include <QString>

// How often each page was shown to visitors, per day: nothing else about a
// visitor is kept. Stored in pageviews.csv in the state folder as lines
// "date,page,views" (page relative to the kiosk system folder, with
// backslashes as the pages write their links: "news\today.htm"), sorted by
// date and page, LF line ends (CRLF of older files read too).
class PageViews {
public:
    explicit PageViews(QString path);

    // Reads the file (missing: no counts). Returns why a file there could not
    // be read ("is not a regular file", never waiting on a FIFO), else "";
    // the file is then replaced by the next save.
    QString load();
    void count(const QDate& day, const QString& page);
    int views(const QDate& day, const QString& page) const;
    // Every page shown that day, with its views.
    QMap<QString, int> day(const QDate& day) const;
    // Replaces the file whole when something was counted since the last save;
    // a failure raises fileio::FileError.
    void save();

private:
    QString m_path;
    QMap<QPair<QDate, QString>, int> m_views;
    bool m_changed = false;
};
