// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "preview/preview_folder.h"

#include <QObject>
#include <optional>

class EditorWindow;
class PreviewPane;
class ProblemMarks;
class Workbench;

// Ties an editor to the one Preview window: the Preview command opens the
// window on the editor's page; while the window is open it follows the editor
// the author turns to, and the followed editor's text, page path (Save As)
// and page type are remade into it after the pause. The editor going clears
// the pane.
//
// The problems the preview finds in the editor's text are marked at their
// lines (ProblemMarks) once they are for the text the editor holds; marks
// stay while the preview follows another editor, and go with the preview
// window or a cleared pane. A problem double-clicked in the preview's list
// brings the editor to the front with the caret at its line.
class EditorPreview : public QObject {
    Q_OBJECT
public:
    EditorPreview(EditorWindow& editor, Workbench& workbench);
    ~EditorPreview() override;

    // Shows the Preview window following this editor.
    void open();
    // The page as the editor holds it now; none when no kiosk system is open.
    std::optional<PreviewPage> page() const;
    ProblemMarks& marks() const { return *m_marks; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The Preview window, when it exists.
    PreviewPane* existingPreview() const;
    void follow(PreviewPane& preview);
    void changed();
    void showProblems();
    void goToLine(QObject* source, int line);

    EditorWindow& m_editor;
    Workbench& m_workbench;
    ProblemMarks* m_marks = nullptr;
};
