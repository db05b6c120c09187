#pragma once

#include "preview/preview_folder.h"

#include <QObject>
#include <optional>

class frmEdit;
class Workbench;

// Ties an editor to the one Preview window: the Preview command opens the
// window on the editor's page; while the window is open it follows the editor
// the author turns to, and the followed editor's text, page path (Save As)
// and page type are remade into it after the pause. The editor going clears
// the pane.
class EditorPreview : public QObject {
    Q_OBJECT
public:
    EditorPreview(frmEdit& editor, Workbench& workbench);
    ~EditorPreview() override;

    // Shows the Preview window following this editor.
    void open();
    // The page as the editor holds it now; none when no kiosk system is open.
    std::optional<PreviewPage> page() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();
    void changed();

    frmEdit& m_editor;
    Workbench& m_workbench;
};
