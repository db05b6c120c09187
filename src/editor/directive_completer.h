// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/directive_references.h"

#include <QObject>
#include <QString>
#include <functional>

class QCompleter;
class QPlainTextEdit;
class QStringListModel;

// Completion in an editor's text area: after "#" at a line's start the
// directive names of the page's type, after "#button " and "#item PICTURE "
// the pages of the kiosk system, after "#image " and "#item " the pictures
// of the page's folder. The list shows as the author types (Enter or Tab
// takes the chosen entry, Escape closes it); complete() shows it on demand.
class DirectiveCompleter : public QObject {
    Q_OBJECT
public:
    // Where the candidates come from, asked each time the list is shown.
    struct Sources {
        std::function<PageType()> pageType;
        std::function<QString()> kioskFolder; // "" when none is open
        std::function<QString()> pageFolder;  // "" for a page never saved
    };
    DirectiveCompleter(QPlainTextEdit* text, Sources sources);

    // Shows the list for what is typed at the caret; false when nothing there completes.
    bool complete();
    QCompleter* completer() const { return m_completer; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList candidates(DirectiveReferences::Kind kind) const;
    void accept(const QString& completion);

    QPlainTextEdit* m_text;
    Sources m_sources;
    QCompleter* m_completer;
    QStringListModel* m_model;
    DirectiveReferences::Part m_part; // what the list completes
};
