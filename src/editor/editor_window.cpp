// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editor_window.h"

#include "base/line_end.h"
#include "base/runtime_error.h"
#include "config/kiosk_system.h"
#include "dialogs/make_dialog.h"
#include "dialogs/save_file_dialog.h"
#include "editor/directive_completer.h"
#include "editor/directive_highlighter.h"
#include "editor/editor_preview.h"
#include "editor/editor_recovery.h"
#include "editor/find_replace_dialog.h"
#include "editor/insert_dialog.h"
#include "editor/page_document.h"
#include "editor/page_source_watch.h"
#include "editor/page_text_area.h"
#include "editor/reference_navigation.h"
#include "pages/files.h"
#include "pages/page_paths.h"
#include "platform/messages.h"
#include "preview/web_windows.h"
#include "runtime/error_handler.h"
#include "runtime/log_file.h"
#include "system/recovery_copies.h"
#include "workbench/menu_command.h"
#include "workbench/workbench.h"

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

EditorWindow::EditorWindow(Workbench& workbench, QWidget* parent) : QMainWindow(parent), m_workbench(workbench)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(kModule);
    m_document = new PageDocument(m_workbench.session(), this);
    choosePagePath = [this](const QString& currentPath) {
        m_workbench.instance<SaveFileDialog>().savePage(currentPath, this);
        return m_workbench.instance<SaveFileDialog>().getSelectedFilePath();
    };
    showPage = [this](const QString& htmlPath) {
        if (WebWindows* windows = WebWindows::load(m_workbench.session()))
            windows->viewPage(m_workbench, htmlPath);
    };
    runCommand(m_workbench.session(), kModule, QStringLiteral("Form_Load"), [&] { setUpWindow(); });
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::setUpWindow()
{
    createMenus();
    auto* area = new QWidget(this);
    setCentralWidget(area);
    m_textArea = new PageTextArea(area);
    m_textArea->setObjectName(QStringLiteral("textArea"));
    m_textArea->setAccessibleName(tr("Page source"));
    m_wordWrapAction->setChecked(m_textArea->wordWrap());
    m_textArea->setDocument(m_document->text());
    auto* highlighter = new DirectiveHighlighter(m_document->text(), m_textArea->palette().color(QPalette::Base));
    connect(m_textArea, &PageTextArea::backgroundChanged, highlighter, &DirectiveHighlighter::setBackground);
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
    m_completer =
        new DirectiveCompleter(m_textArea, {[this] { return PageType(m_document->type()); }, kioskFolder, pageFolder});
    m_referenceNavigation = new ReferenceNavigation(m_workbench.session(), m_textArea,
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
    connect(m_recovery, &EditorRecovery::noticeChanged, this, &EditorWindow::showRecoveryNotice);
    m_undoAction->setEnabled(false);
    m_redoAction->setEnabled(false);
    m_cutAction->setEnabled(false);
    m_copyAction->setEnabled(false);
    connect(m_textArea, &QPlainTextEdit::undoAvailable, m_undoAction, &QAction::setEnabled);
    connect(m_textArea, &QPlainTextEdit::redoAvailable, m_redoAction, &QAction::setEnabled);
    connect(m_textArea, &QPlainTextEdit::copyAvailable, m_cutAction, &QAction::setEnabled);
    connect(m_textArea, &QPlainTextEdit::copyAvailable, m_copyAction, &QAction::setEnabled);
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
    m_textArea->setGeometry(0, 0, kDesignWidth - m_widthMargin, kDesignHeight - m_heightMargin);
    setPageChanged(true);
    m_textArea->setFocus();
}

void EditorWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    m_saveAction =
        withShortcut(addMenuCommand(this, file, QStringLiteral("saveAction"), tr("&Save..."), &EditorWindow::save),
                     QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S));
    m_saveAsAction = withShortcut(
        addMenuCommand(this, file, QStringLiteral("saveAsAction"), tr("Save &As..."), &EditorWindow::saveAs),
        QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    withShortcut(
        addMenuCommand(this, file, QStringLiteral("makePageAction"), tr("&Make..."), &EditorWindow::makeThisPage),
        QKeySequence(Qt::CTRL | Qt::Key_M));
    withShortcut(addMenuCommand(this, file, QStringLiteral("saveMakeViewAction"), tr("Save, Ma&ke && View"),
                                &EditorWindow::saveMakeView),
                 QKeySequence(Qt::Key_F5));
    withShortcut(
        addMenuCommand(this, file, QStringLiteral("viewPageAction"), tr("&View..."), &EditorWindow::viewMadePage),
        QKeySequence(Qt::CTRL | Qt::Key_R));
    file->addSeparator();
    withShortcut(addMenuCommand(this, file, QStringLiteral("quitAction"), tr("&Quit"), &EditorWindow::quitEditor),
                 QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W));

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    m_undoAction = withShortcut(
        addMenuCommand(this, edit, QStringLiteral("undoAction"), tr("&Undo"), &EditorWindow::undo), QKeySequence::Undo);
    m_redoAction = withShortcut(
        addMenuCommand(this, edit, QStringLiteral("redoAction"), tr("&Redo"), &EditorWindow::redo), QKeySequence::Redo);
    edit->addSeparator();
    m_cutAction = withShortcut(addMenuCommand(this, edit, QStringLiteral("cutAction"), tr("Cu&t"), &EditorWindow::cut),
                               QKeySequence::Cut);
    m_copyAction = withShortcut(
        addMenuCommand(this, edit, QStringLiteral("copyAction"), tr("&Copy"), &EditorWindow::copy), QKeySequence::Copy);
    withShortcut(addMenuCommand(this, edit, QStringLiteral("pasteAction"), tr("&Paste"), &EditorWindow::paste),
                 QKeySequence::Paste);
    withShortcut(
        addMenuCommand(this, edit, QStringLiteral("selectAllAction"), tr("Select &All"), &EditorWindow::selectAll),
        QKeySequence::SelectAll);
    edit->addSeparator();
    withShortcut(addMenuCommand(this, edit, QStringLiteral("findAction"), tr("&Find..."), &EditorWindow::openFind),
                 QKeySequence::Find);
    withShortcut(
        addMenuCommand(this, edit, QStringLiteral("findNextAction"), tr("Find &Next"), &EditorWindow::findNext),
        QKeySequence::FindNext);
    withShortcut(addMenuCommand(this, edit, QStringLiteral("findPreviousAction"), tr("Find Pre&vious"),
                                &EditorWindow::findPrevious),
                 QKeySequence::FindPrevious);
    withShortcut(
        addMenuCommand(this, edit, QStringLiteral("replaceAction"), tr("R&eplace..."), &EditorWindow::openReplace),
        QKeySequence::Replace, QKeySequence(Qt::CTRL | Qt::Key_H));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    withShortcut(
        addMenuCommand(this, view, QStringLiteral("previewAction"), tr("&Preview"), &EditorWindow::showPreview),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    withShortcut(addMenuCommand(this, view, QStringLiteral("goToReferenceAction"), tr("&Go to Page or Picture"),
                                &EditorWindow::goToReference),
                 QKeySequence(Qt::Key_F2));
    view->addSeparator();
    m_wordWrapAction =
        addMenuCommand(this, view, QStringLiteral("wordWrapAction"), tr("&Word Wrap"), &EditorWindow::toggleWordWrap);
    m_wordWrapAction->setCheckable(true);
    withShortcut(addMenuCommand(this, view, QStringLiteral("zoomInAction"), tr("Zoom &In"), &EditorWindow::zoomIn),
                 QKeySequence(Qt::CTRL | Qt::Key_Plus));
    withShortcut(addMenuCommand(this, view, QStringLiteral("zoomOutAction"), tr("Zoom &Out"), &EditorWindow::zoomOut),
                 QKeySequence(Qt::CTRL | Qt::Key_Minus));

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    tools->setObjectName(QStringLiteral("toolsMenu"));
    m_insertButtonAction = withShortcut(addMenuCommand(this, tools, QStringLiteral("insertButtonAction"),
                                                       tr("Insert &Button..."), &EditorWindow::insertButton),
                                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    m_insertImageAction = withShortcut(addMenuCommand(this, tools, QStringLiteral("insertImageAction"),
                                                      tr("Insert &Image..."), &EditorWindow::insertImage),
                                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    m_insertItemAction = withShortcut(addMenuCommand(this, tools, QStringLiteral("insertItemAction"),
                                                     tr("Insert I&tem..."), &EditorWindow::insertItem),
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
}

bool EditorWindow::isPageChanged() const { return m_document->isChanged(); }

void EditorWindow::setPageChanged(bool changed) { m_document->setChanged(changed); }

QString EditorWindow::bodyText() const { return m_document->body(); }

void EditorWindow::newPage(const QString& label, PageType type)
{
    runCommand(m_workbench.session(), kModule, label, [&] {
        m_document->startNew(type);
        setCaption();
        show();
    });
}

void EditorWindow::newBranchPage() { newPage(QStringLiteral("newBranchPage"), PageType::Branch); }
void EditorWindow::newLeafPage() { newPage(QStringLiteral("newLeafPage"), PageType::Leaf); }
void EditorWindow::newSelectorPage() { newPage(QStringLiteral("newSelectorPage"), PageType::Selector); }

EditorWindow* EditorWindow::editorOn(const QString& pageSource)
{
    const QString wanted = QFileInfo(pageSource).absoluteFilePath();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* editor = qobject_cast<EditorWindow*>(window);
        if (editor && !editor->isHidden() && QFileInfo(editor->filePath()).absoluteFilePath() == wanted)
            return editor;
    }
    return nullptr;
}

EditorWindow* EditorWindow::openOrRaise(Workbench& workbench, const QString& pageSource)
{
    if (EditorWindow* editor = editorOn(pageSource)) {
        if (editor->isMinimized())
            editor->showNormal();
        editor->raise();
        editor->activateWindow();
        return editor;
    }
    auto* editor = new EditorWindow(workbench);
    if (!editor->editPage(pageSource)) {
        delete editor;
        return nullptr;
    }
    return editor;
}

bool EditorWindow::editPage(const QString& pageSource)
{
    return inProcedure(
        kModule, [&] { return QStringLiteral("editPage(") + pageSource + u')'; },
        [&] {
            if (!readPageFile(pageSource))
                return false;
            m_pageMade = false;
            setCaption();
            show();
            return true;
        });
}

QString EditorWindow::pageReference() const
{
    if (m_document->path().isEmpty())
        return tr("(new page, not saved yet)");
    QString folderName;
    QString pageName;
    PagePaths::splitPageSourcePath(m_document->path(), folderName, pageName);
    return folderName + u'\\' + pageName;
}

QString EditorWindow::aboutThisPage(const QString& question) const { return question + kCrLf + pageReference(); }

void EditorWindow::setCaption()
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
            caption = saved ? tr("Leaf Page - %1").arg(page) : tr("New Leaf page");
            break;
        case PageType::Branch:
            caption = saved ? tr("Branch Page - %1").arg(page) : tr("New Branch Page");
            break;
        case PageType::Root:
            caption = tr("Root Page");
            break;
        case PageType::Selector:
            caption = saved ? tr("Selector Page - %1").arg(page) : tr("New Selector page");
            break;
        default:
            raiseFatalProblem(QStringLiteral("Unexpected case in frmEdit.setCaption ")
                              + QString::number(m_document->type()));
        }
        // The toolkit shows the marker only while the window is modified.
        setWindowTitle(tr("ZEL (Editor) %1").arg(caption) + QStringLiteral("[*]"));
        setWindowModified(isPageChanged());
        const PageType type = PageType(m_document->type());
        m_insertButtonAction->setVisible(type == PageType::Branch || type == PageType::Root);
        m_insertImageAction->setVisible(type != PageType::Selector);
        m_insertItemAction->setVisible(type == PageType::Selector);
    });
}

bool EditorWindow::readPageFile(const QString& path)
{
    if (const std::optional<QString> problem = m_document->read(path)) {
        Messages::show(m_workbench.session(), *problem);
        return false;
    }
    if (m_document->type() == std::int16_t(PageType::Root))
        m_saveAsAction->setVisible(false);
    // A page read afresh is shown from its start.
    m_textArea->moveCursor(QTextCursor::Start);
    return true;
}

bool EditorWindow::writePageFile(const QString& path)
{
    if (const std::optional<QString> problem = m_document->write(path)) {
        Messages::show(m_workbench.session(), *problem);
        return false;
    }
    setCaption();
    m_pageMade = false;
    return true;
}

bool EditorWindow::saveFile()
{
    return inProcedure(kModule, QStringLiteral("saveFile"), [&] {
        if (m_document->path().isEmpty())
            return saveFileAs();
        if (!m_document->watch().mayReplace())
            return false;
        return writePageFile(m_document->path());
    });
}

bool EditorWindow::saveFileAs()
{
    try {
        const QString chosen = choosePagePath(m_document->path());
        if (chosen.isEmpty())
            return false;
        // Two editors on one page source would overwrite each other's saves.
        if (EditorWindow* other = editorOn(chosen); other && other != this) {
            Messages::show(m_workbench.session(),
                           tr("Page %1 is open in another editor - close that editor before saving over it")
                               .arg(QDir::toNativeSeparators(chosen)));
            return false;
        }
        if (Files::fileExists(chosen)) {
            if (Messages::askYesNo(m_workbench.session(),
                                   tr("Page already exists - do you want to replace it?") + kCrLf
                                       + QDir::toNativeSeparators(chosen),
                                   Answer::No)
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

Answer EditorWindow::checkPageSaved()
{
    return inProcedure(kModule, QStringLiteral("checkPageSaved"), [&] {
        if (!isPageChanged())
            return Answer::No;
        const Answer answer = Messages::askYesNoCancel(
            m_workbench.session(), aboutThisPage(tr("The page has changed. Do you want to save the page first?")));
        if (answer == Answer::Yes) {
            saveFile();
            return Answer::Yes;
        }
        return answer;
    });
}

bool EditorWindow::insertionPointOK()
{
    return inProcedure(kModule, QStringLiteral("insertionPointOK"), [&] {
        const QTextCursor cursor = m_textArea->textCursor();
        const QString text = bodyText();
        m_selectionStart = cursor.selectionStart();
        m_selectionLength = cursor.selectionEnd() - cursor.selectionStart();
        const int end = m_selectionStart + m_selectionLength;
        m_atLineStart = m_selectionStart == 0 || text.at(m_selectionStart - 1) == u'\n';
        m_atLineEnd = end == text.size() || text.at(end) == u'\n';
        if (!m_atLineStart && !m_atLineEnd) {
            Messages::show(m_workbench.session(), tr("You can only insert at the end or the beginning of a line"));
            return false;
        }
        return true;
    });
}

// One edit step, so a single undo takes the whole insertion back.
void EditorWindow::insert(const QString& text)
{
    inProcedure(kModule, QStringLiteral("insert"), [&] {
        if (text.isEmpty())
            return;
        QTextCursor cursor(m_textArea->document());
        cursor.setPosition(m_selectionStart);
        cursor.setPosition(m_selectionStart + m_selectionLength, QTextCursor::KeepAnchor);
        cursor.insertText(m_atLineStart ? text + u'\n' : u'\n' + text);
        m_textArea->setTextCursor(cursor);
    });
}

void EditorWindow::insertButton()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuInsertButton_Click"), [&] {
        if (!insertionPointOK())
            return;
        insert(m_workbench.instance<InsertDialog>().openInsertButton(this));
    });
}

void EditorWindow::insertImage()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuInsertImage_Click"), [&] {
        if (m_document->path().isEmpty()) {
            Messages::show(m_workbench.session(), tr("You must save this page before you can insert an image"));
            return;
        }
        if (!insertionPointOK())
            return;
        insert(m_workbench.instance<InsertDialog>().openInsertImage(m_document->path(), this));
    });
}

void EditorWindow::insertItem()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuInsertItem_Click"), [&] {
        if (m_document->path().isEmpty()) {
            Messages::show(m_workbench.session(), tr("You must save this page before you can insert an item"));
            return;
        }
        if (!insertionPointOK())
            return;
        insert(m_workbench.instance<InsertDialog>().openInsertItem(m_document->path(), this));
    });
}

void EditorWindow::save()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuSave_Click"), [&] { saveFile(); });
}

void EditorWindow::saveAs()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuSaveAs_Click"), [&] { saveFileAs(); });
}

bool EditorWindow::pageSourceReady(Answer saveAnswer)
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

bool EditorWindow::pageSourceStillExists()
{
    if (Files::fileExists(m_document->path()))
        return true;
    setPageChanged(true);
    Messages::show(m_workbench.session(), tr("Page source %1 no longer exists - save the page to write it again")
                                              .arg(QDir::toNativeSeparators(m_document->path())));
    return false;
}

bool EditorWindow::makePage()
{
    if (!pageSourceStillExists())
        return false;
    MakeDialog& maker = m_workbench.instance<MakeDialog>();
    maker.makeOne(m_document->path());
    maker.showModal(this);
    m_pageMade = true;
    return true;
}

void EditorWindow::viewPage() { showPage(PageTypes::pageHtmlPath(m_document->path())); }

void EditorWindow::makeThisPage()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuMakePage_Click"), [&] {
        if (pageSourceReady(checkPageSaved()))
            makePage();
    });
}

void EditorWindow::viewMadePage()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuViewPage_Click"), [&] {
        if (!pageSourceReady(checkPageSaved()) || !pageSourceStillExists())
            return;
        if (!m_pageMade) {
            const Answer answer = Messages::askYesNoCancel(
                m_workbench.session(),
                aboutThisPage(tr("The page has not been made. Do you want to make the page first?")));
            if (answer == Answer::Cancel)
                return;
            if (answer == Answer::Yes && !makePage())
                return;
        }
        viewPage();
    });
}

void EditorWindow::saveMakeView()
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
void EditorWindow::toggleWordWrap() { m_textArea->setWordWrap(m_wordWrapAction->isChecked()); }
void EditorWindow::zoomIn() { m_textArea->setZoomSteps(m_textArea->zoomSteps() + 1); }
void EditorWindow::zoomOut() { m_textArea->setZoomSteps(m_textArea->zoomSteps() - 1); }
void EditorWindow::undo() { m_textArea->undo(); }
void EditorWindow::redo() { m_textArea->redo(); }
void EditorWindow::cut() { m_textArea->cut(); }
void EditorWindow::copy() { m_textArea->copy(); }
void EditorWindow::paste() { m_textArea->paste(); }
void EditorWindow::selectAll() { m_textArea->selectAll(); }

FindReplaceDialog& EditorWindow::findDialog()
{
    if (!m_findReplaceDialog)
        m_findReplaceDialog = new FindReplaceDialog(m_workbench.session(), m_textArea, this);
    return *m_findReplaceDialog;
}

void EditorWindow::openFind()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuFind_Click"), [&] { findDialog().showFind(); });
}

void EditorWindow::findNext()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuFindNext_Click"),
               [&] { findDialog().findNext(false); });
}

void EditorWindow::findPrevious()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuFindPrevious_Click"),
               [&] { findDialog().findNext(true); });
}

void EditorWindow::openReplace()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuReplace_Click"), [&] {
        FindReplaceDialog& dialog = findDialog();
        dialog.showFind();
        // With something to find already, the replacement is what is typed next.
        if (!dialog.findEdit()->text().isEmpty()) {
            dialog.replaceEdit()->setFocus();
            dialog.replaceEdit()->selectAll();
        }
    });
}

void EditorWindow::showPreview()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuPreview_Click"), [&] { m_preview->open(); });
}

void EditorWindow::goToReference()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuGoToReference_Click"),
               [&] { m_referenceNavigation->openAtCursor(); });
}

void EditorWindow::quitEditor()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuQuit_Click"), [&] { close(); });
}

bool EditorWindow::mayClose()
{
    if (!isPageChanged())
        return true;
    m_workbench.focus().bringToFront(this);
    switch (Messages::askYesNoCancel(m_workbench.session(),
                                     aboutThisPage(tr("Page has changed - do you want to save it?")))) {
    case Answer::Yes:
        return saveFile();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

// As a close that is not the author's own (unload mode 1) asks.
bool EditorWindow::askBeforeClosing()
{
    return runCommand(m_workbench.session(), kModule, QStringLiteral("Form_QueryUnload(0,1)"),
                      [&] { return mayClose(); });
}

bool EditorWindow::closeAsAgreed()
{
    m_closeAgreed = true;
    return close();
}

void EditorWindow::closeEvent(QCloseEvent* event)
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
void EditorWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, &EditorWindow::checkPageSourceOnDisk);
}

// The text area keeps its distances to the right and bottom edges; a window
// smaller than those distances leaves it empty rather than negative.
void EditorWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    runCommand(m_workbench.session(), kModule, QStringLiteral("Form_Resize"), [&] {
        if (!isMinimized())
            fitTextArea();
    });
}

void EditorWindow::fitTextArea()
{
    if (!m_textArea)
        return;
    const int width = std::max(0, this->width() - m_widthMargin);
    int height = std::max(0, this->height() - m_heightMargin);
    if (m_recoveryLabel && !m_recoveryLabel->isHidden()) {
        const int noticeHeight = std::min(height, m_recoveryLabel->heightForWidth(width));
        height -= noticeHeight;
        m_recoveryLabel->setGeometry(0, height, width, noticeHeight);
    }
    m_textArea->resize(width, height);
}

void EditorWindow::showRecoveryNotice(const QString& notice)
{
    if (!m_recoveryLabel) {
        if (notice.isEmpty())
            return;
        // A line below the text, coloured as a tip is.
        m_recoveryLabel = new QLabel(centralWidget());
        m_recoveryLabel->setObjectName(QStringLiteral("recoveryLabel"));
        m_recoveryLabel->setWordWrap(true);
        m_recoveryLabel->setContentsMargins(4, 2, 4, 2);
        m_recoveryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_recoveryLabel->setBackgroundRole(QPalette::ToolTipBase);
        m_recoveryLabel->setForegroundRole(QPalette::ToolTipText);
        m_recoveryLabel->setAutoFillBackground(true);
    }
    m_recoveryLabel->setText(notice);
    m_recoveryLabel->setVisible(!notice.isEmpty());
    fitTextArea();
}

void EditorWindow::checkPageSourceOnDisk()
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

void EditorWindow::reloadPageFile()
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

void EditorWindow::showRecoveredPage(const QString& pageSource, std::int16_t type, const QString& text)
{
    if (type == std::int16_t(PageType::Root))
        m_saveAsAction->setVisible(false);
    m_document->startRecovered(pageSource, type, text);
    setCaption();
    show();
}

void EditorWindow::offerRecoveredPages(Workbench& workbench)
{
    EditorRecovery::offerLeftBehind(workbench, [&](const RecoveryCopies::Copy& copy) {
        EditorWindow* editor = nullptr;
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
            editor = new EditorWindow(workbench);
            // A page source that is gone is written again by Save; one
            // that is there but no page any more is left to Save As.
            const QString source = Files::fileExists(copy.pageSource) ? QString() : copy.pageSource;
            editor->showRecoveredPage(source, knownType ? copy.pageType : std::int16_t(PageType::Leaf), copy.text);
        }
        editor->m_recovery->write();
    });
}
