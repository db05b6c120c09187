// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gate_inputs.h"

#include "check/finding.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// What the gate's judgement of a version rested on, kept in the version's
// folder: for each page source judged, the inputs its judgement read
// (GateInputs keys and their values) and the findings that refused it; for
// each made page, the files it names and what was wrong with them. Paths are
// relative to the version's folder, and the folder's own path in a
// finding's text is kept as a mark, so that another version's gate can take
// the judgement over; and the stamps of the files looked at.
class GateRecord {
public:
    struct Page {
        QHash<QString, QString> inputs;
        QList<Finding> findings; // pageSource relative
    };
    struct Named {
        QString path; // relative
        QString value;
        QString reason; // empty when the file is there and whole
    };
    struct MadePage {
        QString value;
        QList<Named> named; // each once, in the order the page first names them
    };

    using MadePages = QHash<QString, MadePage>;
    using Stamped = GateInputs::Stamped;

    QString global; // GateInputs::global() of the version judged
    QHash<QString, Page> pages;
    MadePages madePages;
    QHash<QString, Stamped> files; // by relative path

    static QString fileName() { return QStringLiteral(".zel-gate"); }
    // The record kept in folder; none when there is none, or it is of another
    // format or damaged.
    static std::optional<GateRecord> read(const QString& folder);
    // Throws fileio::FileError.
    void write(const QString& folder) const;

    // The folder's path in a text, and back.
    static QString marked(QString text, const QString& folder);
    static QString unmarked(QString text, const QString& folder);
};
