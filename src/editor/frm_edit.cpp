// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/frm_edit.h"

#include "app/core/recovery_copies.h"
#include "config/kiosk_system.h"
#include "dialogs/dlg_make_page.h"
#include "dialogs/dlg_save_file.h"
#include "dialogs/menu_command.h"
#include "dialogs/workbench.h"
#include "editor/directive_completer.h"
#include "editor/directive_highlighter.h"
#include "editor/dlg_find_replace.h"
#include "editor/dlg_insert.h"
#include "editor/editor_recovery.h"
#include "editor/editor_preview.h"
#include "editor/page_document.h"
#include "editor/page_source_watch.h"
#include "editor/reference_navigation.h"
#include "pages/files.h"
#include "pages/page_paths.h"
#include "base/line_end.h"
#include "platform/messages.h"
#include "base/runtime_error.h"
#include "runtime/error_handler.h"
#include "runtime/log_file.h"
#include "viewer/frm_view_page.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

namespace {
const QString kModule = QStringLiteral("frmEdit");

// The design: 9600 x 7200 twips.
constexpr int kDesignWidth = 9600 / 15;
constexpr int kDesignHeight = 7200 / 15;

} // namespace

frmEdit::frmEdit(Workbench& workbench, QWidget* parent) : QMainWindow(parent), m_workbench(workbench)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmEdit"));
    m_document = new PageDocument(m_workbench.session(), this);
    choosePagePath = [this](const QString& currentPath) {
        m_workbench.instance<dlgSaveFile>().savePage(currentPath, this);
        return m_workbench.instance<dlgSaveFile>().getSelectedFilePath();
    };
    showPage = [this](const QString& htmlPath) {
        frmViewPage& viewer = m_workbench.instance<frmViewPage>();
        viewer.setPage(htmlPath);
        viewer.showPage();
    };
    runCommand(m_workbench.session(), kModule, QStringLiteral("Form_Load"), [&] { Form_Load(); });
}

frmEdit::~frmEdit() = default;

void frmEdit::Form_Load()
{
    createMenus();
    auto* area = new QWidget(this);
    setCentralWidget(area);
    m_txtContent = new QPlainTextEdit(area);
    m_txtContent->setObjectName(QStringLiteral("txtContent"));
    m_txtContent->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_txtContent->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtContent->setTabChangesFocus(false);
    m_txtContent->setDocument(m_document->text());
    new DirectiveHighlighter(m_document->text());
    const auto kioskFolder = [this] {
        try {
            return m_workbench.kioskSystem().folder();
        } catch (const RuntimeError&) {
            return QString(); // no kiosk system open
        }
    };
    const auto pageFolder = [this] {
        return m_document->path().isEmpty() ? QString() : QFileInfo(m_document->path()).absolutePath();
    };
    m_completer = new DirectiveCompleter(m_txtContent,
                                         {[this] { return PageType(m_document->type()); }, kioskFolder, pageFolder});
    m_referenceNavigation = new ReferenceNavigation(m_workbench.session(), m_txtContent,
                                                    {kioskFolder, pageFolder, [this](const QString& source) {
                                                         return openOrRaise(m_workbench, source) != nullptr;
                                                     }});
    m_preview = new EditorPreview(*this, m_workbench);
    m_recovery = new EditorRecovery(
        m_workbench,
        {[this] { return isPageChanged(); },
         [this] {
             return RecoveryCopies::Copy{{}, m_document->path(), m_document->type(), m_document->body()};
         }},
        this);
    connect(m_document->text(), &QTextDocument::modificationChanged, this, [this](bool changed) {
        setWindowModified(changed);
        if (!changed)
            m_recovery->drop();
    });
    connect(m_document->text(), &QTextDocument::contentsChanged, m_recovery, &EditorRecovery::schedule);
    connect(m_recovery, &EditorRecovery::noticeChanged, this, &frmEdit::showRecoveryNotice);
    m_mnuUndo->setEnabled(false);
    m_mnuRedo->setEnabled(false);
    m_mnuCut->setEnabled(false);
    m_mnuCopy->setEnabled(false);
    connect(m_txtContent, &QPlainTextEdit::undoAvailable, m_mnuUndo, &QAction::setEnabled);
    connect(m_txtContent, &QPlainTextEdit::redoAvailable, m_mnuRedo, &QAction::setEnabled);
    connect(m_txtContent, &QPlainTextEdit::copyAvailable, m_mnuCut, &QAction::setEnabled);
    connect(m_txtContent, &QPlainTextEdit::copyAvailable, m_mnuCopy, &QAction::setEnabled);
    // An editor in the background looks when it becomes active again.
    connect(&m_document->watch(), &PageSourceWatch::settled, this, [this] {
        if (isActiveWindow())
            checkPageSourceOnDisk();
    });
    // The text area fills the window below the menu bar; these are the
    // distances it keeps to the right and bottom edges.
    m_widthMargin = 0;
    m_heightMargin = menuBar()->sizeHint().height();
    resize(kDesignWidth, kDesignHeight);
    m_txtContent->setGeometry(0, 0, kDesignWidth - m_widthMargin, kDesignHeight - m_heightMargin);
    setPageChanged(true);
    m_txtContent->setFocus();
}

void frmEdit::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    m_mnuSave = withShortcut(
        addMenuCommand(this, file, QStringLiteral("mnuSave"), QStringLiteral("Save..."), &frmEdit::mnuSave_Click),
        QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S));
    m_mnuSaveAs = withShortcut(addMenuCommand(this, file, QStringLiteral("mnuSaveAs"), QStringLiteral("Save As..."),
                                              &frmEdit::mnuSaveAs_Click),
                               QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    withShortcut(addMenuCommand(this, file, QStringLiteral("mnuMakePage"), QStringLiteral("Make..."),
                                &frmEdit::mnuMakePage_Click),
                 QKeySequence(Qt::CTRL | Qt::Key_M));
    withShortcut(addMenuCommand(this, file, QStringLiteral("mnuSaveMakeView"), QStringLiteral("Save, Make && View"),
                                &frmEdit::mnuSaveMakeView_Click),
                 QKeySequence(Qt::Key_F5));
    withShortcut(addMenuCommand(this, file, QStringLiteral("mnuViewPage"), QStringLiteral("View..."),
                                &frmEdit::mnuViewPage_Click),
                 QKeySequence(Qt::CTRL | Qt::Key_R));
    file->addSeparator();
    withShortcut(addMenuCommand(this, file, QStringLiteral("mnuQuit"), QStringLiteral("Quit"), &frmEdit::mnuQuit_Click),
                 QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    m_mnuUndo = withShortcut(
        addMenuCommand(this, edit, QStringLiteral("mnuUndo"), QStringLiteral("&Undo"), &frmEdit::mnuUndo_Click),
        QKeySequence::Undo);
    m_mnuRedo = withShortcut(
        addMenuCommand(this, edit, QStringLiteral("mnuRedo"), QStringLiteral("&Redo"), &frmEdit::mnuRedo_Click),
        QKeySequence::Redo);
    edit->addSeparator();
    m_mnuCut = withShortcut(
        addMenuCommand(this, edit, QStringLiteral("mnuCut"), QStringLiteral("Cu&t"), &frmEdit::mnuCut_Click),
        QKeySequence::Cut);
    m_mnuCopy = withShortcut(
        addMenuCommand(this, edit, QStringLiteral("mnuCopy"), QStringLiteral("&Copy"), &frmEdit::mnuCopy_Click),
        QKeySequence::Copy);
    withShortcut(
        addMenuCommand(this, edit, QStringLiteral("mnuPaste"), QStringLiteral("&Paste"), &frmEdit::mnuPaste_Click),
        QKeySequence::Paste);
    withShortcut(addMenuCommand(this, edit, QStringLiteral("mnuSelectAll"), QStringLiteral("Select &All"),
                                &frmEdit::mnuSelectAll_Click),
                 QKeySequence::SelectAll);
    edit->addSeparator();
    withShortcut(
        addMenuCommand(this, edit, QStringLiteral("mnuFind"), QStringLiteral("&Find..."), &frmEdit::mnuFind_Click),
        QKeySequence::Find);
    withShortcut(addMenuCommand(this, edit, QStringLiteral("mnuFindNext"), QStringLiteral("Find &Next"),
                                &frmEdit::mnuFindNext_Click),
                 QKeySequence::FindNext);
    withShortcut(addMenuCommand(this, edit, QStringLiteral("mnuFindPrevious"), QStringLiteral("Find Pre&vious"),
                                &frmEdit::mnuFindPrevious_Click),
                 QKeySequence::FindPrevious);
    withShortcut(addMenuCommand(this, edit, QStringLiteral("mnuReplace"), QStringLiteral("R&eplace..."),
                                &frmEdit::mnuReplace_Click),
                 QKeySequence::Replace, QKeySequence(Qt::CTRL | Qt::Key_H));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    withShortcut(addMenuCommand(this, view, QStringLiteral("mnuPreview"), QStringLiteral("&Preview"),
                                &frmEdit::mnuPreview_Click),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    withShortcut(addMenuCommand(this, view, QStringLiteral("mnuGoToReference"),
                                QStringLiteral("&Go to Page or Picture"), &frmEdit::mnuGoToReference_Click),
                 QKeySequence(Qt::Key_F2));

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    m_mnuInsertButton =
        withShortcut(addMenuCommand(this, tools, QStringLiteral("mnuInsertButton"), QStringLiteral("Insert Button..."),
                                    &frmEdit::mnuInsertButton_Click),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    m_mnuInsertImage = withShortcut(addMenuCommand(this, tools, QStringLiteral("mnuInsertImage"),
                                                   QStringLiteral("Insert Image..."), &frmEdit::mnuInsertImage_Click),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    m_mnuInsertItem = withShortcut(addMenuCommand(this, tools, QStringLiteral("mnuInsertItem"),
                                                  QStringLiteral("Insert Item..."), &frmEdit::mnuInsertItem_Click),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
}

bool frmEdit::isPageChanged() const { return m_document->isChanged(); }

void frmEdit::setPageChanged(bool changed) { m_document->setChanged(changed); }

QString frmEdit::bodyText() const { return m_document->body(); }

void frmEdit::newPage(const QString& label, PageType type)
{
    runCommand(m_workbench.session(), kModule, label, [&] {
        m_document->startNew(type);
        setCaption();
        show();
    });
}

void frmEdit::newBranchPage() { newPage(QStringLiteral("newBranchPage"), PageType::Branch); }
void frmEdit::newLeafPage() { newPage(QStringLiteral("newLeafPage"), PageType::Leaf); }
void frmEdit::newSelectorPage() { newPage(QStringLiteral("newSelectorPage"), PageType::Selector); }

frmEdit* frmEdit::editorOn(const QString& pageSource)
{
    const QString wanted = QFileInfo(pageSource).absoluteFilePath();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* editor = qobject_cast<frmEdit*>(window);
        if (editor && !editor->isHidden() && QFileInfo(editor->filePath()).absoluteFilePath() == wanted)
            return editor;
    }
    return nullptr;
}

frmEdit* frmEdit::openOrRaise(Workbench& workbench, const QString& pageSource)
{
    if (frmEdit* editor = editorOn(pageSource)) {
        if (editor->isMinimized())
            editor->showNormal();
        editor->raise();
        editor->activateWindow();
        return editor;
    }
    auto* editor = new frmEdit(workbench);
    if (!editor->editPage(pageSource)) {
        delete editor;
        return nullptr;
    }
    return editor;
}

bool frmEdit::editPage(const QString& strFilePath)
{
    return inProcedure(
        kModule, [&] { return QStringLiteral("editPage(") + strFilePath + u')'; },
        [&] {
            if (!readPageFile(strFilePath))
                return false;
            m_pageMade = false;
            setCaption();
            show();
            return true;
        });
}

void frmEdit::setCaption()
{
    inProcedure(kModule, QStringLiteral("setCaption"), [&] {
        QString folderName;
        QString pageName;
        if (!m_document->path().isEmpty() && m_document->type() != std::int16_t(PageType::Root))
            PagePaths::splitPageSourcePath(m_document->path(), folderName, pageName);
        const QString page = folderName + u'\\' + pageName;
        const bool saved = !m_document->path().isEmpty();
        QString caption;
        switch (PageType(m_document->type())) {
        case PageType::Leaf:
            caption = saved ? QStringLiteral("Leaf Page - ") + page : QStringLiteral("New Leaf page");
            break;
        case PageType::Branch:
            caption = saved ? QStringLiteral("Branch Page - ") + page : QStringLiteral("New Branch Page");
            break;
        case PageType::Root:
            caption = QStringLiteral("Root Page");
            break;
        case PageType::Selector:
            caption = saved ? QStringLiteral("Selector Page - ") + page : QStringLiteral("New Selector page");
            break;
        default:
            raiseFatalProblem(QStringLiteral("Unexpected case in frmEdit.setCaption ")
                              + QString::number(m_document->type()));
        }
        // The toolkit shows the marker only while the window is modified.
        setWindowTitle(QStringLiteral("ZEL (Editor) ") + caption + QStringLiteral("[*]"));
        setWindowModified(isPageChanged());
        const PageType type = PageType(m_document->type());
        m_mnuInsertButton->setVisible(type == PageType::Branch || type == PageType::Root);
        m_mnuInsertImage->setVisible(type != PageType::Selector);
        m_mnuInsertItem->setVisible(type == PageType::Selector);
    });
}

bool frmEdit::readPageFile(const QString& path)
{
    if (const std::optional<QString> problem = m_document->read(path)) {
        Messages::show(m_workbench.session(), *problem);
        return false;
    }
    if (m_document->type() == std::int16_t(PageType::Root))
        m_mnuSaveAs->setVisible(false);
    // A page read afresh is shown from its start.
    m_txtContent->moveCursor(QTextCursor::Start);
    return true;
}

bool frmEdit::writePageFile(const QString& path)
{
    if (const std::optional<QString> problem = m_document->write(path)) {
        Messages::show(m_workbench.session(), *problem);
        return false;
    }
    setCaption();
    m_pageMade = false;
    return true;
}

bool frmEdit::saveFile()
{
    return inProcedure(kModule, QStringLiteral("saveFile"), [&] {
        if (m_document->path().isEmpty())
            return saveFileAs();
        if (!m_document->watch().mayReplace())
            return false;
        return writePageFile(m_document->path());
    });
}

bool frmEdit::saveFileAs()
{
    try {
        const QString chosen = choosePagePath(m_document->path());
        if (chosen.isEmpty())
            return false;
        // Two editors on one page source would overwrite each other's saves.
        if (frmEdit* other = editorOn(chosen); other && other != this) {
            Messages::show(
                m_workbench.session(),
                QStringLiteral("Page ") + QDir::toNativeSeparators(chosen)
                    + QStringLiteral(" is open in another editor - close that editor before saving over it"));
            return false;
        }
        if (Files::fileExists(chosen)) {
            if (Messages::askYesNo(m_workbench.session(),
                                   QStringLiteral("Page already exists - do you want to replace it?"), Answer::No)
                != Answer::Yes)
                return false;
        }
        return writePageFile(chosen);
    } catch (const RuntimeError& error) {
        if (error.isLocated())
            throw; // on its way to the fatal report
        Messages::show(m_workbench.session(), QStringLiteral("error ") + QString::number(error.number())
                                                  + QStringLiteral(" in frmEdit.saveFileAs") + kCrLf
                                                  + error.description());
        return false;
    }
}

Answer frmEdit::checkPageSaved()
{
    return inProcedure(kModule, QStringLiteral("checkPageSaved"), [&] {
        if (!isPageChanged())
            return Answer::No;
        const Answer answer = Messages::askYesNoCancel(
            m_workbench.session(), QStringLiteral("The page has changed. Do you want to save the page first?"));
        if (answer == Answer::Yes) {
            saveFile();
            return Answer::Yes;
        }
        return answer;
    });
}

bool frmEdit::insertionPointOK()
{
    return inProcedure(kModule, QStringLiteral("insertionPointOK"), [&] {
        const QTextCursor cursor = m_txtContent->textCursor();
        const QString text = bodyText();
        m_selectionStart = cursor.selectionStart();
        m_selectionLength = cursor.selectionEnd() - cursor.selectionStart();
        const int end = m_selectionStart + m_selectionLength;
        m_atLineStart = m_selectionStart == 0 || text.at(m_selectionStart - 1) == u'\n';
        m_atLineEnd = end == text.size() || text.at(end) == u'\n';
        if (!m_atLineStart && !m_atLineEnd) {
            Messages::show(m_workbench.session(),
                           QStringLiteral("You can only insert at the end or the beginning of a line"));
            return false;
        }
        return true;
    });
}

// One edit step, so a single undo takes the whole insertion back.
void frmEdit::insert(const QString& text)
{
    inProcedure(kModule, QStringLiteral("insert"), [&] {
        if (text.isEmpty())
            return;
        QTextCursor cursor(m_txtContent->document());
        cursor.setPosition(m_selectionStart);
        cursor.setPosition(m_selectionStart + m_selectionLength, QTextCursor::KeepAnchor);
        cursor.insertText(m_atLineStart ? text + u'\n' : u'\n' + text);
        m_txtContent->setTextCursor(cursor);
    });
}

void frmEdit::mnuInsertButton_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuInsertButton_Click"), [&] {
        if (!insertionPointOK())
            return;
        insert(m_workbench.instance<dlgInsert>().openInsertButton(this));
    });
}

void frmEdit::mnuInsertImage_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuInsertImage_Click"), [&] {
        if (m_document->path().isEmpty()) {
            Messages::show(m_workbench.session(),
                           QStringLiteral("You must save this page before you can insert an image"));
            return;
        }
        if (!insertionPointOK())
            return;
        insert(m_workbench.instance<dlgInsert>().openInsertImage(m_document->path(), this));
    });
}

void frmEdit::mnuInsertItem_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuInsertItem_Click"), [&] {
        if (m_document->path().isEmpty()) {
            Messages::show(m_workbench.session(),
                           QStringLiteral("You must save this page before you can insert an item"));
            return;
        }
        if (!insertionPointOK())
            return;
        insert(m_workbench.instance<dlgInsert>().openInsertItem(m_document->path(), this));
    });
}

void frmEdit::mnuSave_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuSave_Click"), [&] { saveFile(); });
}

void frmEdit::mnuSaveAs_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuSaveAs_Click"), [&] { saveFileAs(); });
}

bool frmEdit::pageSourceReady(Answer saveAnswer)
{
    if (saveAnswer == Answer::Cancel)
        return false;
    // A Yes whose save did not happen (cancelled or failed) leaves the page changed.
    if (saveAnswer == Answer::Yes && isPageChanged())
        return false;
    if (m_document->path().isEmpty())
        return saveFileAs();
    return true;
}

bool frmEdit::pageSourceStillExists()
{
    if (Files::fileExists(m_document->path()))
        return true;
    setPageChanged(true);
    Messages::show(m_workbench.session(), QStringLiteral("Page source ") + QDir::toNativeSeparators(m_document->path())
                                              + QStringLiteral(" no longer exists - save the page to write it again"));
    return false;
}

bool frmEdit::makePage()
{
    if (!pageSourceStillExists())
        return false;
    dlgMakePage& maker = m_workbench.instance<dlgMakePage>();
    maker.makeOne(m_document->path());
    maker.showModal(this);
    m_pageMade = true;
    return true;
}

void frmEdit::viewPage() { showPage(PageTypes::pageHtmlPath(m_document->path())); }

void frmEdit::mnuMakePage_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuMakePage_Click"), [&] {
        if (pageSourceReady(checkPageSaved()))
            makePage();
    });
}

void frmEdit::mnuViewPage_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuViewPage_Click"), [&] {
        if (!pageSourceReady(checkPageSaved()) || !pageSourceStillExists())
            return;
        if (!m_pageMade) {
            const Answer answer = Messages::askYesNoCancel(
                m_workbench.session(),
                QStringLiteral("The page has not been made. Do you want to make the page first?"));
            if (answer == Answer::Cancel)
                return;
            if (answer == Answer::Yes && !makePage())
                return;
        }
        viewPage();
    });
}

void frmEdit::mnuSaveMakeView_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuSaveMakeView_Click"), [&] {
        if (isPageChanged() && !saveFile())
            return;
        if (m_document->path().isEmpty() && !saveFileAs())
            return;
        if (!m_pageMade && !makePage())
            return;
        viewPage();
    });
}

// The text area's own editing commands; the same keys reach the text area
// directly while it has the keyboard.
void frmEdit::mnuUndo_Click() { m_txtContent->undo(); }
void frmEdit::mnuRedo_Click() { m_txtContent->redo(); }
void frmEdit::mnuCut_Click() { m_txtContent->cut(); }
void frmEdit::mnuCopy_Click() { m_txtContent->copy(); }
void frmEdit::mnuPaste_Click() { m_txtContent->paste(); }
void frmEdit::mnuSelectAll_Click() { m_txtContent->selectAll(); }

dlgFindReplace& frmEdit::findDialog()
{
    if (!m_dlgFindReplace)
        m_dlgFindReplace = new dlgFindReplace(m_workbench.session(), m_txtContent, this);
    return *m_dlgFindReplace;
}

void frmEdit::mnuFind_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuFind_Click"), [&] { findDialog().showFind(); });
}

void frmEdit::mnuFindNext_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuFindNext_Click"),
               [&] { findDialog().findNext(false); });
}

void frmEdit::mnuFindPrevious_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuFindPrevious_Click"),
               [&] { findDialog().findNext(true); });
}

void frmEdit::mnuReplace_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuReplace_Click"), [&] {
        dlgFindReplace& dialog = findDialog();
        dialog.showFind();
        // With something to find already, the replacement is what is typed next.
        if (!dialog.txtFind()->text().isEmpty()) {
            dialog.txtReplace()->setFocus();
            dialog.txtReplace()->selectAll();
        }
    });
}

void frmEdit::mnuPreview_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuPreview_Click"), [&] { m_preview->open(); });
}

void frmEdit::mnuGoToReference_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuGoToReference_Click"),
               [&] { m_referenceNavigation->openAtCursor(); });
}

void frmEdit::mnuQuit_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuQuit_Click"), [&] { close(); });
}

bool frmEdit::mayClose()
{
    if (!isPageChanged())
        return true;
    m_workbench.focus().bringToFront(this);
    switch (
        Messages::askYesNoCancel(m_workbench.session(), QStringLiteral("Page has changed - do you want to save it?"))) {
    case Answer::Yes:
        return saveFile();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

// As a close that is not the author's own (unload mode 1) asks.
bool frmEdit::askBeforeClosing()
{
    return runCommand(m_workbench.session(), kModule, QStringLiteral("Form_QueryUnload(0,1)"),
                      [&] { return mayClose(); });
}

bool frmEdit::closeAsAgreed()
{
    m_closeAgreed = true;
    return close();
}

void frmEdit::closeEvent(QCloseEvent* event)
{
    const int unloadMode = event->spontaneous() ? 0 : 1;
    const bool closing =
        m_closeAgreed
        || runCommand(
            m_workbench.session(), kModule, [&] { return QStringLiteral("Form_QueryUnload(0,%1)").arg(unloadMode); },
            [&] { return mayClose(); });
    m_closeAgreed = false;
    if (closing) {
        if (m_recovery)
            m_recovery->drop();
        event->accept();
    } else {
        event->ignore();
    }
}

// Coming back to the editor (from another program, perhaps the one that
// changed the page source) looks at the page source again.
void frmEdit::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, &frmEdit::checkPageSourceOnDisk);
}

// The text area keeps its distances to the right and bottom edges; a window
// smaller than those distances leaves it empty rather than negative.
void frmEdit::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    runCommand(m_workbench.session(), kModule, QStringLiteral("Form_Resize"), [&] {
        if (!isMinimized())
            fitTextArea();
    });
}

void frmEdit::fitTextArea()
{
    if (!m_txtContent)
        return;
    const int width = std::max(0, this->width() - m_widthMargin);
    int height = std::max(0, this->height() - m_heightMargin);
    if (m_lblRecovery && !m_lblRecovery->isHidden()) {
        const int noticeHeight = std::min(height, m_lblRecovery->heightForWidth(width));
        height -= noticeHeight;
        m_lblRecovery->setGeometry(0, height, width, noticeHeight);
    }
    m_txtContent->resize(width, height);
}

void frmEdit::showRecoveryNotice(const QString& notice)
{
    if (!m_lblRecovery) {
        if (notice.isEmpty())
            return;
        // A line below the text, coloured as a tip is.
        m_lblRecovery = new QLabel(centralWidget());
        m_lblRecovery->setObjectName(QStringLiteral("lblRecovery"));
        m_lblRecovery->setWordWrap(true);
        m_lblRecovery->setContentsMargins(4, 2, 4, 2);
        m_lblRecovery->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_lblRecovery->setBackgroundRole(QPalette::ToolTipBase);
        m_lblRecovery->setForegroundRole(QPalette::ToolTipText);
        m_lblRecovery->setAutoFillBackground(true);
    }
    m_lblRecovery->setText(notice);
    m_lblRecovery->setVisible(!notice.isEmpty());
    fitTextArea();
}

void frmEdit::checkPageSourceOnDisk()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("checkPageSourceOnDisk"), [&] {
        switch (m_document->watch().look(m_document->text()->isModified())) {
        case PageSourceWatch::Outcome::Nothing:
            break;
        case PageSourceWatch::Outcome::MarkChanged:
            setPageChanged(true);
            break;
        case PageSourceWatch::Outcome::Reload:
            reloadPageFile();
            break;
        }
    });
}

void frmEdit::reloadPageFile()
{
    const std::int16_t type = m_document->type();
    if (!readPageFile(m_document->path())) {
        m_document->setType(type);
        setPageChanged(true);
        return;
    }
    m_pageMade = false;
    setCaption();
}

void frmEdit::showRecoveredPage(const QString& pageSource, std::int16_t type, const QString& text)
{
    if (type == std::int16_t(PageType::Root))
        m_mnuSaveAs->setVisible(false);
    m_document->startRecovered(pageSource, type, text);
    setCaption();
    show();
}

void frmEdit::offerRecoveredPages(Workbench& workbench)
{
    EditorRecovery::offerLeftBehind(workbench, [&](const RecoveryCopies::Copy& copy) {
        frmEdit* editor = nullptr;
        if (Files::fileExists(copy.pageSource))
            editor = openOrRaise(workbench, copy.pageSource);
        const bool knownType =
            copy.pageType >= std::int16_t(PageType::Leaf) && copy.pageType <= std::int16_t(PageType::Selector);
        if (editor) {
            QTextCursor cursor(editor->m_document->text());
            cursor.select(QTextCursor::Document);
            cursor.insertText(copy.text);
            editor->setPageChanged(true);
        } else {
            editor = new frmEdit(workbench);
            // A page source that is gone is written again by Save; one
            // that is there but no page any more is left to Save As.
            const QString source = Files::fileExists(copy.pageSource) ? QString() : copy.pageSource;
            editor->showRecoveredPage(source, knownType ? copy.pageType : std::int16_t(PageType::Leaf), copy.text);
        }
        editor->m_recovery->write();
    });
}
