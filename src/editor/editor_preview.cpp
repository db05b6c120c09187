// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editor_preview.h"

#include "base/runtime_error.h"
#include "config/kiosk_system.h"
#include "editor/editor_window.h"
#include "editor/problem_marks.h"
#include "preview/preview_pane.h"
#include "preview/web_windows.h"
#include "workbench/workbench.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

// The configurable settings a page is made with.
const char* const kSettings[] = {"buttons",
                                 "screenwidth",
                                 "screenheight",
                                 "screens",
                                 "remotescreen",
                                 "leafnavigationpercentage",
                                 "branchnavigationpercentage",
                                 "rootnavigationpercentage",
                                 "selectornavigationpercentage",
                                 "navigationheightadjustment",
                                 "navigationwidthadjustment",
                                 "scrollbarwidth",
                                 "minimumhorizontalspace"};

} // namespace

EditorPreview::EditorPreview(EditorWindow& editor, Workbench& workbench)
    : QObject(&editor), m_editor(editor), m_workbench(workbench), m_marks(new ProblemMarks(*editor.textArea()))
{
    m_editor.installEventFilter(this);
    connect(m_editor.document().text(), &QTextDocument::contentsChanged, this, &EditorPreview::changed);
    // The caption follows the page's path and type (Save As, a reload).
    connect(&m_editor, &QWidget::windowTitleChanged, this, &EditorPreview::changed);
}

EditorPreview::~EditorPreview()
{
    if (PreviewPane* preview = existingPreview())
        preview->forget(&m_editor);
}

std::optional<PreviewPage> EditorPreview::page() const
{
    PreviewPage page;
    try {
        const KioskSystem& kiosk = m_workbench.kioskSystem();
        page.kioskFolder = kiosk.folder();
        for (const char* name : kSettings) {
            const QString key = QString::fromLatin1(name);
            page.settings.append({key, QString::number(kiosk.integerValue(key))});
        }
    } catch (const RuntimeError&) {
        return std::nullopt; // no kiosk system open
    }
    const PageDocument& document = m_editor.document();
    page.pageSource = document.path();
    page.pageType = document.type();
    page.body = document.body();
    return page;
}

PreviewPane* EditorPreview::existingPreview() const
{
    WebWindows* windows = WebWindows::loaded();
    return windows ? windows->existingPreview(m_workbench) : nullptr;
}

void EditorPreview::open()
{
    WebWindows* windows = WebWindows::load(m_workbench.session());
    if (!windows)
        return;
    PreviewPane& preview = windows->preview(m_workbench);
    preview.show();
    preview.raise();
    follow(preview);
}

void EditorPreview::follow(PreviewPane& preview)
{
    connect(&preview, &PreviewPane::problemsChanged, this, &EditorPreview::showProblems, Qt::UniqueConnection);
    connect(&preview, &PreviewPane::goToLine, this, &EditorPreview::goToLine, Qt::UniqueConnection);
    connect(&preview, &PreviewPane::cleared, m_marks, &ProblemMarks::clear, Qt::UniqueConnection);
    connect(&preview, &QObject::destroyed, m_marks, &ProblemMarks::clear, Qt::UniqueConnection);
    preview.follow(&m_editor, [this] { return page(); });
}

// Problems found in an older text would mark the wrong lines: the marks
// wait for the make of the text the editor holds.
void EditorPreview::showProblems()
{
    const PreviewPane* preview = existingPreview();
    if (!preview || preview->followed() != &m_editor || preview->problemsText() != m_editor.document().body())
        return;
    QList<ProblemMarks::LineProblem> lines;
    // All are about the page made; its page type line (1) is not in the text area.
    for (const Finding& problem : preview->problems())
        if (problem.line >= 2)
            lines.append({problem.line - 2, problem.text});
    m_marks->show(lines);
}

void EditorPreview::goToLine(QObject* source, int line)
{
    if (source != &m_editor)
        return;
    QTextCursor cursor(m_editor.textArea()->document()->findBlockByNumber(std::max(0, line - 2)));
    m_editor.textArea()->setTextCursor(cursor);
    m_editor.textArea()->ensureCursorVisible();
    m_editor.raise();
    m_editor.activateWindow();
    m_editor.textArea()->setFocus();
}

void EditorPreview::changed()
{
    if (PreviewPane* preview = existingPreview())
        preview->sourceChanged(&m_editor);
}

// The preview turns to the editor the author turns to.
bool EditorPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_editor && event->type() == QEvent::WindowActivate) {
        PreviewPane* preview = existingPreview();
        if (preview && preview->followed() != &m_editor)
            follow(*preview);
    }
    return false;
}
