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
// A key for a path outside the folder has no value. A file whose stamp
// (device, inode, size and modification time) is one known from an earlier
// judgement is that very file unchanged, and keeps the value known (a
// pulled version links the files it shares with the one before).
class GateInputs {
public:
    struct Stamped {
        QString stamp;
        QString value;
    };

    explicit GateInputs(const QString& top);
    // Files by relative path, as an earlier judgement found them.
    void setKnown(QHash<QString, Stamped> known) { m_known = std::move(known); }
    // The files looked at so far, by relative path.
    const QHash<QString, Stamped>& files() const { return m_files; }

    QString top() const { return m_top; }
    // The path below the top, or empty when absolute lies outside it.
    QString relative(const QString& absolute) const;

    QString value(const QString& key);
    // Whether every key has the value given.
    bool unchanged(const QHash<QString, QString>& inputs);
    // What every page's judgement rests on: the program judging and the
    // image tool (it decides which pictures can be copied), and the files
    // and folder names at the top (the configuration, the style sheet and
    // the rest of the Template; not the maker's logs).
    QString global(const QString& imageTool);

    static QString file(const QString& path) { return QStringLiteral("file:") + path; }
    static QString sources(const QString& folder) { return QStringLiteral("sources:") + folder; }
    static QString names(const QString& folder) { return QStringLiteral("names:") + folder; }
    static QString folders() { return QStringLiteral("folders:"); }

private:
    QString compute(const QString& key);
    QString contentOf(const QString& path);

    QString m_top; // clean absolute path
    QHash<QString, QString> m_values;
    QHash<QString, Stamped> m_known;
    QHash<QString, Stamped> m_files;
};
