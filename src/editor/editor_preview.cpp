#include "editor/editor_preview.h"

#include "config/kiosk_system.h"
#include "dialogs/workbench.h"
#include "editor/frm_edit.h"
#include "platform/runtime_error.h"
#include "preview/frm_preview.h"

#include <QEvent>
#include <QPlainTextEdit>

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

EditorPreview::EditorPreview(frmEdit& editor, Workbench& workbench)
    : QObject(&editor), m_editor(editor), m_workbench(workbench)
{
    m_editor.installEventFilter(this);
    connect(m_editor.txtContent()->document(), &QTextDocument::contentsChanged, this, &EditorPreview::changed);
    // The caption follows the page's path and type (Save As, a reload).
    connect(&m_editor, &QWidget::windowTitleChanged, this, &EditorPreview::changed);
}

EditorPreview::~EditorPreview()
{
    if (m_workbench.exists<frmPreview>())
        m_workbench.instance<frmPreview>().forget(&m_editor);
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
    page.pageSource = m_editor.filePath();
    page.pageType = m_editor.pageType();
    page.body = m_editor.bodyText();
    return page;
}

void EditorPreview::open()
{
    frmPreview& preview = m_workbench.instance<frmPreview>();
    preview.show();
    preview.raise();
    follow();
}

void EditorPreview::follow()
{
    m_workbench.instance<frmPreview>().follow(&m_editor, [this] { return page(); });
}

void EditorPreview::changed()
{
    if (m_workbench.exists<frmPreview>())
        m_workbench.instance<frmPreview>().sourceChanged(&m_editor);
}

// The preview turns to the editor the author turns to.
bool EditorPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_editor && event->type() == QEvent::WindowActivate && m_workbench.exists<frmPreview>()
        && m_workbench.instance<frmPreview>().followed() != &m_editor)
        follow();
    return false;
}
