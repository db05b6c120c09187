// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/editor_recovery.h"
#include "editor/page_document.h"
#include "editor/page_text_area.h"
#include "pages/page_types.h"
#include "platform/messages.h"

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class DirectiveCompleter;
class EditorPreview;
class ReferenceNavigation;
class FindReplaceDialog;
class PageSourceWatch;
class QMenu;
class QPlainTextEdit;
class Workbench;

// The editor window of one page source. The main window creates one per New
// or Edit command (any number may be open) and calls one of newBranchPage,
// newLeafPage, newSelectorPage or editPage; the window then lives until the
// author closes it (it deletes itself on close).
//
// The page source itself (path, type, body, how it is stored, the watch on
// the disk) is the window's PageDocument; the window keeps the text area that
// shows the document's body, the menus and the commands, and asks the document.
// The body is every line after the page-type line, each followed by a line end. Its changed flag (isPageChanged) is set
// from the start for a new page, cleared by loading and saving and set by any edit. Closing with changes asks "Page has
// changed - do you want to save it?"; a Cancel, or a save that does not happen, keeps the window open (the close event
// is ignored, which also stops the opening of another kiosk system).
//
// Saving writes through a temporary file (PageSourceFile), so a failed write
// keeps the old page source. An unchanged page is written back byte for byte;
// a changed one keeps the page's encoding and line ends where they can hold
// the text (see PageSourceFile::compose). A page never saved is saved through Save As
// before Make..., View... or Save, Make && View; if that does not happen,
// nothing is made or shown.
//
// The page source on disk is watched (PageSourceWatch; looked at again
// whenever the window becomes active): a page source another program changed
// is offered for reloading, and saving over such a change asks first (No by
// default). A page source that has gone from the disk leaves the editor
// holding the only copy: the page counts as changed, and Make and View say it
// no longer exists. Save As refuses a page open in another editor. The title
// carries the toolkit's modified marker while the page counts as changed.
//
// While the page counts as changed, a recovery copy of its text is written
// (EditorRecovery, through the workbench's RecoveryCopies, if any) a moment
// after the last edit, and removed when the page is saved or the window
// closes; offerRecoveredPages offers the copies a crashed run left behind.
// While its copy cannot be written, a line below the text area says that
// the text is not protected, where and why (no message box interrupts the
// author); it goes once a copy is written or the page saved.
//
// The Edit menu holds the text area's own editing commands and its Find and
// Replace dialog (FindReplaceDialog, one per editor). Every command of the
// editor's menus has its key; no two share one.
//
// The dialogs, the maker dialog and the viewer are the workbench's single
// instances. Expected problems are messages (Messages); unexpected failures go
// to the error path with the module "frmEdit".
class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit EditorWindow(Workbench& workbench, QWidget* parent = nullptr);
    ~EditorWindow() override;

    void newBranchPage();
    void newLeafPage();
    void newSelectorPage();
    // Loads the page source and shows the window; false (window not shown)
    // when the page could not be loaded.
    bool editPage(const QString& pageSource);
    // The shown editor on this page source, if any. Two editors on one page
    // would overwrite each other's saves, so the commands that open a page
    // bring this one to the front instead (openOrRaise).
    static EditorWindow* editorOn(const QString& pageSource);
    // The page this editor holds as its questions name it: its reference
    // ("news\\today"), or "(new page, not saved yet)".
    QString pageReference() const;
    // A question about this editor's page: the question, then the page on a
    // line of its own, so that the author knows which page is meant.
    QString aboutThisPage(const QString& question) const;
    // Shows the editor on the page source: the open one brought to the front,
    // or a new one; nullptr when the page cannot be read.
    static EditorWindow* openOrRaise(Workbench& workbench, const QString& pageSource);
    // Asks about each recovery copy of the open kiosk system that a run left
    // behind when it ended without closing its editors: Yes puts the text
    // into an editor on its page (marked changed), No drops the copy. Either
    // way the old copy is removed.
    static void offerRecoveredPages(Workbench& workbench);

    // Time from the last edit to the writing of the recovery copy.
    static constexpr int kRecoveryDelayMs = EditorRecovery::kDelayMs;

    // Asks for the path to save the page under ("" = cancelled), given the
    // page's current path. By default the workbench's SaveFileDialog, owned by this window.
    std::function<QString(const QString& currentPath)> choosePagePath;
    // Shows a made page. By default the workbench's one kiosk viewer window.
    std::function<void(const QString& htmlPath)> showPage;

    // True when the text was changed since it was loaded or saved, or the
    // page source has gone from the disk.
    bool isPageChanged() const;
    // The recovery copy's name in the workbench's RecoveryCopies ("" before the first).
    QString recoveryCopyName() const { return m_recovery ? m_recovery->name() : QString(); }
    EditorRecovery* recovery() const { return m_recovery; }
    // The line saying the text is not protected (nullptr until first needed).
    QLabel* recoveryLabel() const { return m_recoveryLabel; }
    // The page source the window shows and edits.
    PageDocument& document() const { return *m_document; }
    QString filePath() const { return m_document->path(); }
    std::int16_t pageType() const { return m_document->type(); }
    bool pageMade() const { return m_pageMade; }
    QPlainTextEdit* textArea() const { return m_textArea; }
    // The editor's Find and Replace dialog (made on first use, shown by Find... and Replace...).
    FindReplaceDialog& findDialog();
    // The editor's completion, its going to references and its tie to the Preview window.
    DirectiveCompleter* completer() const { return m_completer; }
    ReferenceNavigation* referenceNavigation() const { return m_referenceNavigation; }
    EditorPreview* preview() const { return m_preview; }
    // The body as the text area holds it, lines separated by LF.
    QString bodyText() const;

    // Closing in two steps, so that a shutdown that one editor refuses
    // closes no window: askBeforeClosing asks what closing asks (nothing when
    // unchanged; Yes saves) and is true when the window may close;
    // closeAsAgreed then closes it without asking again.
    bool askBeforeClosing();
    bool closeAsAgreed();

    // The operations behind the commands.
    // Yes (saved or tried to), No or Cancel; No without asking when unchanged.
    Answer checkPageSaved();
    bool saveFile();
    bool saveFileAs();
    bool readPageFile(const QString& path);
    bool writePageFile(const QString& path);
    // True when the caret (or selection) stands at a line's start or end;
    // otherwise says "You can only insert at the end or the beginning of a line".
    bool insertionPointOK();
    // Inserts text as whole lines at the place insertionPointOK accepted,
    // replacing a selection; the caret ends after the inserted line.
    void insert(const QString& text);

public slots:
    void save();
    void saveAs();
    void makeThisPage();
    void saveMakeView();
    void viewMadePage();
    void quitEditor();
    void toggleWordWrap();
    void zoomIn();
    void zoomOut();
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void selectAll();
    void openFind();
    void findNext();
    void findPrevious();
    void openReplace();
    void showPreview();
    void goToReference();
    void insertButton();
    void insertImage();
    void insertItem();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setUpWindow();
    void createMenus();
    void newPage(const QString& label, PageType type);
    void setCaption();
    void setPageChanged(bool changed);
    // Makes the saved page source and marks it made; false (said) when the
    // page source no longer exists.
    bool makePage();
    bool pageSourceStillExists();
    // Looks at the page source on disk (PageSourceWatch): a deletion marks the
    // page changed, an outside change (not seen before) is offered for reloading.
    void checkPageSourceOnDisk();
    void reloadPageFile();
    // Shows the recovered text of a page in this new editor, marked changed.
    void showRecoveredPage(const QString& pageSource, std::int16_t type, const QString& text);
    // A page source on disk that holds the text: false when the author
    // cancelled a save or a save failed. saveAnswer is checkPageSaved's.
    bool pageSourceReady(Answer saveAnswer);
    void viewPage();
    // Closing's question: true when the window may close.
    bool mayClose();
    // The recovery copy's notice below the text area; "" hides it.
    void showRecoveryNotice(const QString& notice);
    // The text area fills the window below the menu bar and above the notice.
    void fitTextArea();

    Workbench& m_workbench;
    PageDocument* m_document = nullptr; // a child of the window
    bool m_pageMade = false;
    bool m_atLineStart = false;
    bool m_atLineEnd = false;
    int m_selectionStart = 0;
    int m_selectionLength = 0;
    bool m_closeAgreed = false; // askBeforeClosing said the window may close
    int m_widthMargin = 0;
    int m_heightMargin = 0;
    EditorRecovery* m_recovery = nullptr;

    PageTextArea* m_textArea = nullptr;
    QLabel* m_recoveryLabel = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_saveAsAction = nullptr;
    QAction* m_insertButtonAction = nullptr;
    QAction* m_insertImageAction = nullptr;
    QAction* m_insertItemAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_wordWrapAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_cutAction = nullptr;
    QAction* m_copyAction = nullptr;
    FindReplaceDialog* m_findReplaceDialog = nullptr; // a child of the window
    DirectiveCompleter* m_completer = nullptr;
    ReferenceNavigation* m_referenceNavigation = nullptr;
    EditorPreview* m_preview = nullptr;
};
