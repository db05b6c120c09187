#include "editor/frm_edit.h"

#include "dialogs/dlg_make_page.h"
#include "dialogs/dlg_save_file.h"
#include "dialogs/menu_command.h"
#include "dialogs/workbench.h"
#include "editor/directive_highlighter.h"
#include "editor/dlg_insert.h"
#include "editor/page_source_file.h"
#include "pages/files.h"
#include "pages/page_paths.h"
#include "platform/line_end.h"
#include "platform/messages.h"
#include "platform/runtime_error.h"
#include "runtime/error_handler.h"
#include "viewer/frm_view_page.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace {
const QString kModule = QStringLiteral("frmEdit");

// The design: 9600 x 7200 twips.
constexpr int kDesignWidth = 9600 / 15;
constexpr int kDesignHeight = 7200 / 15;

QString errorLines(const RuntimeError& error)
{
    return kCrLf + QStringLiteral("Error number ") + QString::number(error.number()) + kCrLf + error.description();
}
} // namespace

frmEdit::frmEdit(Workbench& workbench, QWidget* parent) : QMainWindow(parent), m_workbench(workbench)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmEdit"));
    choosePagePath = [this](const QString& currentPath) {
        m_workbench.instance<dlgSaveFile>().savePage(currentPath, this);
        return m_workbench.instance<dlgSaveFile>().getSelectedFilePath();
    };
    showPage = [this](const QString& htmlPath) {
        frmViewPage& viewer = m_workbench.instance<frmViewPage>();
        viewer.setPage(htmlPath);
        viewer.showPage();
    };
    withErrorPath(kModule, QStringLiteral("Form_Load"), [&] { Form_Load(); });
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
    new DirectiveHighlighter(m_txtContent->document());
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
    m_mnuSave =
        addMenuCommand(this, file, QStringLiteral("mnuSave"), QStringLiteral("Save..."), &frmEdit::mnuSave_Click);
    m_mnuSave->setShortcut(QKeySequence::Save);
    m_mnuSaveAs = addMenuCommand(this, file, QStringLiteral("mnuSaveAs"), QStringLiteral("Save As..."),
                                 &frmEdit::mnuSaveAs_Click);
    file->addSeparator();
    addMenuCommand(this, file, QStringLiteral("mnuMakePage"), QStringLiteral("Make..."), &frmEdit::mnuMakePage_Click);
    addMenuCommand(this, file, QStringLiteral("mnuSaveMakeView"), QStringLiteral("Save, Make && View"),
                   &frmEdit::mnuSaveMakeView_Click);
    addMenuCommand(this, file, QStringLiteral("mnuViewPage"), QStringLiteral("View..."), &frmEdit::mnuViewPage_Click);
    file->addSeparator();
    addMenuCommand(this, file, QStringLiteral("mnuQuit"), QStringLiteral("Quit"), &frmEdit::mnuQuit_Click);

    menuBar()->addMenu(QStringLiteral("&Edit"))->setObjectName(QStringLiteral("mnuEdit"));

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    m_mnuInsertButton = addMenuCommand(this, tools, QStringLiteral("mnuInsertButton"),
                                       QStringLiteral("Insert Button..."), &frmEdit::mnuInsertButton_Click);
    m_mnuInsertImage = addMenuCommand(this, tools, QStringLiteral("mnuInsertImage"), QStringLiteral("Insert Image..."),
                                      &frmEdit::mnuInsertImage_Click);
    m_mnuInsertItem = addMenuCommand(this, tools, QStringLiteral("mnuInsertItem"), QStringLiteral("Insert Item..."),
                                     &frmEdit::mnuInsertItem_Click);
}

bool frmEdit::isPageChanged() const { return m_txtContent->document()->isModified(); }

void frmEdit::setPageChanged(bool changed) { m_txtContent->document()->setModified(changed); }

// The document keeps its lines apart with paragraph separators; the body
// text uses LF. Positions are the same in both.
QString frmEdit::bodyText() const
{
    QString text = m_txtContent->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void frmEdit::newPage(const QString& label, PageType type)
{
    withErrorPath(kModule, label, [&] {
        m_filePath.clear();
        m_storedPage.reset();
        m_storedBody.clear();
        m_pageType = std::int16_t(type);
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
    return withErrorPath(
        kModule, [&] { return QStringLiteral("editPage(") + strFilePath + u')'; },
        [&] {
            m_filePath = strFilePath;
            if (!readPageFile())
                return false;
            m_pageMade = false;
            setCaption();
            show();
            return true;
        });
}

void frmEdit::setCaption()
{
    withErrorPath(kModule, QStringLiteral("setCaption"), [&] {
        QString folderName;
        QString pageName;
        if (!m_filePath.isEmpty() && m_pageType != std::int16_t(PageType::Root))
            Files::splitPageSourcePath(m_filePath, folderName, pageName);
        const QString page = folderName + u'\\' + pageName;
        const bool saved = !m_filePath.isEmpty();
        QString caption;
        switch (PageType(m_pageType)) {
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
            fatalError(QStringLiteral("Unexpected case in frmEdit.setCaption ") + QString::number(m_pageType));
        }
        setWindowTitle(QStringLiteral("ZEL (Editor) ") + caption);
        const PageType type = PageType(m_pageType);
        m_mnuInsertButton->setVisible(type == PageType::Branch || type == PageType::Root);
        m_mnuInsertImage->setVisible(type != PageType::Selector);
        m_mnuInsertItem->setVisible(type == PageType::Selector);
    });
}

bool frmEdit::readPageFile()
{
    try {
        PageSourceFile::StoredPage stored = PageSourceFile::read(m_filePath);
        const PageType type =
            stored.lines.isEmpty() ? PageType::Invalid : Support::pageTypeOfLine(stored.lines.first());
        m_pageType = std::int16_t(type);
        if (type == PageType::Invalid) {
            Messages::show(QStringLiteral("Invalid ZEL Page"));
            return false;
        }
        if (type == PageType::Root)
            m_mnuSaveAs->setVisible(false);
        QString text;
        for (qsizetype i = 1; i < stored.lines.size(); ++i)
            text += stored.lines.at(i) + u'\n';
        m_txtContent->setPlainText(text);
        setPageChanged(false);
        m_storedPage = std::move(stored);
        m_storedBody = bodyText();
        return true;
    } catch (const RuntimeError& error) {
        Messages::show(QStringLiteral("Unable to read file ") + m_filePath + errorLines(error));
        return false;
    }
}

bool frmEdit::writePageFile(const QString& path)
{
    // The text area turns a few characters into line ends (U+2028); a body
    // as it was loaded is the stored page whatever its lines.
    const QString body = bodyText();
    PageSourceFile::StoredPage page =
        m_storedPage && body == m_storedBody
            ? *m_storedPage
            : PageSourceFile::compose(Support::pageTypeDirective(m_pageType), body, m_storedPage);
    try {
        PageSourceFile::write(path, page.bytes);
    } catch (const RuntimeError& error) {
        Messages::show(QStringLiteral("Unable to write file ") + path + errorLines(error));
        return false;
    }
    m_storedPage = std::move(page);
    m_storedBody = body;
    setPageChanged(false);
    m_filePath = path;
    setCaption();
    m_pageMade = false;
    return true;
}

bool frmEdit::saveFile()
{
    return withErrorPath(kModule, QStringLiteral("saveFile"), [&] {
        if (m_filePath.isEmpty())
            return saveFileAs();
        return writePageFile(m_filePath);
    });
}

bool frmEdit::saveFileAs()
{
    try {
        const QString chosen = choosePagePath(m_filePath);
        if (chosen.isEmpty())
            return false;
        if (Files::fileExists(chosen)) {
            if (Messages::askYesNo(QStringLiteral("Page already exists - do you want to replace it?"), Answer::No)
                != Answer::Yes)
                return false;
        }
        return writePageFile(chosen);
    } catch (const RuntimeError& error) {
        Messages::show(QStringLiteral("error ") + QString::number(error.number())
                       + QStringLiteral(" in frmEdit.saveFileAs") + kCrLf + error.description());
        return false;
    }
}

int frmEdit::checkPageSaved()
{
    return withErrorPath(kModule, QStringLiteral("checkPageSaved"), [&] {
        if (!isPageChanged())
            return Answer::No;
        const int answer =
            Messages::askYesNoCancel(QStringLiteral("The page has changed. Do you want to save the page first?"));
        if (answer == Answer::Yes) {
            saveFile();
            return Answer::Yes;
        }
        return answer;
    });
}

bool frmEdit::insertionPointOK()
{
    return withErrorPath(kModule, QStringLiteral("insertionPointOK"), [&] {
        const QTextCursor cursor = m_txtContent->textCursor();
        const QString text = bodyText();
        m_selectionStart = cursor.selectionStart();
        m_selectionLength = cursor.selectionEnd() - cursor.selectionStart();
        const int end = m_selectionStart + m_selectionLength;
        m_atLineStart = m_selectionStart == 0 || text.at(m_selectionStart - 1) == u'\n';
        m_atLineEnd = end == text.size() || text.at(end) == u'\n';
        if (!m_atLineStart && !m_atLineEnd) {
            Messages::show(QStringLiteral("You can only insert at the end or the beginning of a line"));
            return false;
        }
        return true;
    });
}

// One edit step, so a single undo takes the whole insertion back.
void frmEdit::insert(const QString& text)
{
    withErrorPath(kModule, QStringLiteral("insert"), [&] {
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
    withErrorPath(kModule, QStringLiteral("mnuInsertButton_Click"), [&] {
        if (!insertionPointOK())
            return;
        insert(m_workbench.instance<dlgInsert>().openInsertButton(this));
    });
}

void frmEdit::mnuInsertImage_Click()
{
    withErrorPath(kModule, QStringLiteral("mnuInsertImage_Click"), [&] {
        if (m_filePath.isEmpty()) {
            Messages::show(QStringLiteral("You must save this page before you can insert an image"));
            return;
        }
        if (!insertionPointOK())
            return;
        insert(m_workbench.instance<dlgInsert>().openInsertImage(m_filePath, this));
    });
}

void frmEdit::mnuInsertItem_Click()
{
    withErrorPath(kModule, QStringLiteral("mnuInsertItem_Click"), [&] {
        if (m_filePath.isEmpty()) {
            Messages::show(QStringLiteral("You must save this page before you can insert an item"));
            return;
        }
        if (!insertionPointOK())
            return;
        insert(m_workbench.instance<dlgInsert>().openInsertItem(m_filePath, this));
    });
}

void frmEdit::mnuSave_Click()
{
    withErrorPath(kModule, QStringLiteral("mnuSave_Click"), [&] { saveFile(); });
}

void frmEdit::mnuSaveAs_Click()
{
    withErrorPath(kModule, QStringLiteral("mnuSaveAs_Click"), [&] { saveFileAs(); });
}

bool frmEdit::pageSourceReady(int saveAnswer)
{
    if (saveAnswer == Answer::Cancel)
        return false;
    // A Yes whose save did not happen (cancelled or failed) leaves the page changed.
    if (saveAnswer == Answer::Yes && isPageChanged())
        return false;
    if (m_filePath.isEmpty())
        return saveFileAs();
    return true;
}

void frmEdit::makePage()
{
    dlgMakePage& maker = m_workbench.instance<dlgMakePage>();
    maker.makeOne(m_filePath);
    maker.showModal(this);
    m_pageMade = true;
}

void frmEdit::viewPage() { showPage(Support::pageHtmlPath(m_filePath)); }

void frmEdit::mnuMakePage_Click()
{
    withErrorPath(kModule, QStringLiteral("mnuMakePage_Click"), [&] {
        if (pageSourceReady(checkPageSaved()))
            makePage();
    });
}

void frmEdit::mnuViewPage_Click()
{
    withErrorPath(kModule, QStringLiteral("mnuViewPage_Click"), [&] {
        if (!pageSourceReady(checkPageSaved()))
            return;
        if (!m_pageMade) {
            const int answer = Messages::askYesNoCancel(
                QStringLiteral("The page has not been made. Do you want to make the page first?"));
            if (answer == Answer::Cancel)
                return;
            if (answer == Answer::Yes)
                makePage();
        }
        viewPage();
    });
}

void frmEdit::mnuSaveMakeView_Click()
{
    withErrorPath(kModule, QStringLiteral("mnuSaveMakeView_Click"), [&] {
        if (isPageChanged() && !saveFile())
            return;
        if (m_filePath.isEmpty() && !saveFileAs())
            return;
        if (!m_pageMade)
            makePage();
        viewPage();
    });
}

void frmEdit::mnuQuit_Click()
{
    withErrorPath(kModule, QStringLiteral("mnuQuit_Click"), [&] { close(); });
}

void frmEdit::closeEvent(QCloseEvent* event)
{
    const int unloadMode = event->spontaneous() ? 0 : 1;
    const bool mayClose = withErrorPath(
        kModule, [&] { return QStringLiteral("Form_QueryUnload(0,%1)").arg(unloadMode); },
        [&] {
            if (!isPageChanged())
                return true;
            m_workbench.focus().bringToFront(this);
            switch (Messages::askYesNoCancel(QStringLiteral("Page has changed - do you want to save it?"))) {
            case Answer::Yes:
                return saveFile();
            case Answer::No:
                return true;
            default:
                return false;
            }
        });
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

// The text area keeps its distances to the right and bottom edges; a window
// smaller than those distances leaves it empty rather than negative.
void frmEdit::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    withErrorPath(kModule, QStringLiteral("Form_Resize"), [&] {
        if (isMinimized() || !m_txtContent)
            return;
        m_txtContent->resize(std::max(0, width() - m_widthMargin), std::max(0, height() - m_heightMargin));
    });
}
