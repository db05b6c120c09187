// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

// What the files of a kiosk system folder hold now, as the gate's record
// names them, each looked at once: a key names a file or a listing by its
// path relative to the folder ("/" between names), its value tells the
// content.
//   file:PATH     the file's SHA-256; "-" when there is none, "folder", or
//                 "other" (not a regular file)
//   sources:PATH  the page sources in the folder PATH, by name
//   names:PATH    every name in the folder PATH
//   folders:      every folder below the top, by path
// A key for a path outside the folder has no value.
class GateInputs {
public:
    explicit GateInputs(const QString& top);

    QString top() const { return m_top; }
    // The path below the top, or empty when absolute lies outside it.
    QString relative(const QString& absolute) const;

    QString value(const QString& key);
    // Whether every key has the value given.
    bool unchanged(const QHash<QString, QString>& inputs);
    // What every page's judgement rests on: the program judging, and the
    // files and folder names at the top (the configuration, the style sheet
    // and the rest of the Template; not the maker's logs).
    QString global();

    static QString file(const QString& path) { return QStringLiteral("file:") + path; }
    static QString sources(const QString& folder) { return QStringLiteral("sources:") + folder; }
    static QString names(const QString& folder) { return QStringLiteral("names:") + folder; }
    static QString folders() { return QStringLiteral("folders:"); }

private:
    QString compute(const QString& key) const;

    QString m_top; // clean absolute path
    QHash<QString, QString> m_values;
};
