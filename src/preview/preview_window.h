// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/finding.h"
#include "preview/preview_folder.h"
#include "preview/preview_pane.h"

#include <QByteArray>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class PreviewMake;
class PreviewWebPage;
class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QWebEngineView;
class Workbench;

// The Preview window: the page an editor holds, saved or not, shown as the
// kiosk shows it (the same made HTML, style sheet and script, frames and
// navigation column), scaled to fit the window at the kiosk screen's aspect
// ratio. One per program (the workbench's single instance), beside the
// editors or on another screen; it follows one editor at a time, the one
// the author worked in last.
//
// A short pause after the followed editor's text changes (kPauseMs) the page
// is made again into the preview's own folder in the user's cache folder
// (PreviewMake): nothing of the kiosk system is written. When the made
// frameset and navigation column are the very ones shown (and so are the
// shared style sheet and script), only the content frame is loaded again;
// anything else (the first page, another page, its title, type or buttons
// changed, a navigation away) loads the whole frameset. Touching a
// navigation button shows its target page; navigation is kept to the files
// of the kiosk system as the viewer keeps it, a refused target being named in
// the status line (no message box interrupts the author).
//
// The make's problems and the kiosk check's findings for the page are listed
// under the page (problemList; problems(), problemsChanged), by line; a
// double-click on one asks the followed source to go to its line (goToLine).
// No message box interrupts the author. Closing the window stops any make and
// removes the preview's folder; the next use makes a new window.
class PreviewWindow : public PreviewPane {
    Q_OBJECT
public:
    ~PreviewWindow() override;

    void follow(QObject* source, PageSource page) override;
    void sourceChanged(QObject* source) override;
    void forget(QObject* source) override;
    QObject* followed() const override { return m_source; }
    // Clears the pane, stops any make and removes the preview's files.
    void clear();

    const QList<Finding>& problems() const override { return m_problems; }
    const QString& problemsText() const override { return m_problemsText; }
    // The made page shown ("" when none), in the preview's folder.
    QString shownPage() const { return m_shownPage; }
    // True while a make is waiting for the pause or running.
    bool isMaking() const;
    // How long the make of the page shown took, from its request.
    qint64 lastMakeMs() const;
    QWebEngineView* previewView() const { return m_browser; }
    QLabel* statusLabel() const { return m_statusLabel; }
    QTreeWidget* problemList() const { return m_problemList; }
    // "Show as at": the kiosk as at another moment (the pages' #show lines).
    QCheckBox* showAtBox() const { return m_showAtBox; }
    QDateTimeEdit* showAtEdit() const { return m_showAtEdit; }

    static constexpr int kPauseMs = 60;
    // The preview's folder: "preview" in the user's cache folder, one
    // sub-folder per running program, named by its process id.
    static QString previewFolder();
    // The folder of every run's preview folder.
    static QString previewsFolder();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class Workbench;
    explicit PreviewWindow(Workbench& workbench);

    void makeNow();
    void showMade(const QString& madePage);
    void loadWhole(const QString& madePage);
    void contentLoaded(int serial);
    void showFailure(const QString& reason);
    bool mayNavigate(const QUrl& url);
    void placeBrowser();
    void setStatus(const QString& text);
    void setProblems(QList<Finding> problems, QString text);
    void problemActivated(QTreeWidgetItem* item);
    // Shows the page again as at the moment chosen, or now.
    void showAtChanged();

    PreviewMake* m_make = nullptr;
    QPointer<QObject> m_source;
    PageSource m_page;
    QTimer* m_pause = nullptr;
    QWidget* m_stage = nullptr;
    QWebEngineView* m_browser = nullptr;
    QLabel* m_statusLabel = nullptr;
    QTreeWidget* m_problemList = nullptr;
    QCheckBox* m_showAtBox = nullptr;
    QDateTimeEdit* m_showAtEdit = nullptr;
    QSize m_screen{1280, 1024};
    double m_zoom = 1.0; // of the page shown: the kiosk's width fills the browser
    QString m_shownPage;
    QString m_pageLabel; // folder\page of the page shown
    QList<Finding> m_problems;
    QString m_problemsText;
    // What a content-only load keeps: the files of the frameset shown.
    struct Frames {
        QString page;
        QByteArray frameset;
        QByteArray navigation;
        QString shared; // the style sheet's and the script's files and times
        bool operator==(const Frames&) const = default;
    };
    static Frames framesOf(const QString& madePage);

    PreviewWebPage* m_webPage = nullptr;
    std::optional<Frames> m_frames; // of the made page loaded last
    int m_loadSerial = 0;           // of the load asked for last
    bool m_loadingMade = false;     // the whole made page is loading
    bool m_loadingContent = false;  // its content frame alone is loading
    bool m_madeLoaded = false;      // the last whole load succeeded
};
