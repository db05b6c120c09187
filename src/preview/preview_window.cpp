// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/preview_window.h"

#include "platform/session.h"
#include "preview/preview_make.h"
#include "preview/preview_web_page.h"
#include "viewer/navigation_guard.h"
#include "workbench/workbench.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QUrl>
#include <QWebEngineView>
#include <algorithm>
#include <cmath>

namespace {

const char* const kTitle = QT_TRANSLATE_NOOP("PreviewWindow", "ZEL (Preview)");
// The engine zooms out to a quarter at most.
constexpr int kMinimumZoomDivisor = 4;

// The page label of a page source: folder\page, or "new page".
QString pageLabel(const PreviewPage& page)
{
    if (page.pageSource.isEmpty())
        return QCoreApplication::translate("PreviewWindow", "new page");
    const QFileInfo source(page.pageSource);
    return source.absoluteDir().dirName() + u'\\' + source.completeBaseName();
}

int setting(const PreviewPage& page, const QString& name, int otherwise)
{
    for (const auto& [key, value] : page.settings)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value.toInt();
    return otherwise;
}

} // namespace

QString PreviewWindow::previewsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/preview");
}

QString PreviewWindow::previewFolder()
{
    return previewsFolder() + u'/' + QString::number(QCoreApplication::applicationPid());
}

PreviewWindow::PreviewWindow(Workbench& workbench) : PreviewPane(workbench, QStringLiteral("frmPreview"))
{
    setWindowTitle(tr(kTitle));
    // What runs that were killed or crashed left would stay in the cache for ever.
    PreviewFolder::removeFoldersOfDeadRuns(previewsFolder());
    m_make = new PreviewMake(previewFolder(), workbench.session().programFolder() + QStringLiteral("zel-make"), this);
    connect(m_make, &PreviewMake::made, this, &PreviewWindow::showMade);
    connect(m_make, &PreviewMake::failed, this, &PreviewWindow::showFailure);

    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(kPauseMs);
    connect(m_pause, &QTimer::timeout, this, &PreviewWindow::makeNow);

    m_stage = new QWidget(this);
    m_stage->setObjectName(QStringLiteral("stage"));
    m_stage->setAutoFillBackground(true);
    QPalette dark = m_stage->palette();
    dark.setColor(QPalette::Window, Qt::darkGray);
    m_stage->setPalette(dark);
    m_browser = new QWebEngineView(m_stage);
    m_browser->setObjectName(QStringLiteral("webPreview"));
    m_browser->setContextMenuPolicy(Qt::NoContextMenu);
    m_webPage = new PreviewWebPage([this](const QUrl& url) { return mayNavigate(url); }, m_browser);
    m_browser->setPage(m_webPage);
    connect(m_browser, &QWebEngineView::loadFinished, this, [this](bool ok) {
        // The engine reads back its own zoom once a page has loaded: the one
        // asked for, kept for pages reached by navigation too.
        m_browser->setZoomFactor(m_zoom);
        if (std::exchange(m_loadingMade, false)) {
            m_madeLoaded = ok;
            emit pageShown();
        }
    });
    connect(m_webPage, &PreviewWebPage::contentLoaded, this, &PreviewWindow::contentLoaded);
    connect(m_webPage, &PreviewWebPage::contentNotReloaded, this, [this](int serial) {
        if (serial == m_loadSerial && m_loadingContent)
            loadWhole(m_shownPage);
    });
    m_stage->installEventFilter(this);

    m_problemList = new QTreeWidget(this);
    m_problemList->setObjectName(QStringLiteral("problemList"));
    m_problemList->setAccessibleName(tr("Problems of the page"));
    m_problemList->setHeaderLabels({tr("Line"), tr("Kind"), tr("Problem")});
    m_problemList->setRootIsDecorated(false);
    m_problemList->setUniformRowHeights(true);
    m_problemList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_problemList->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(m_problemList, &QTreeWidget::itemActivated, this, &PreviewWindow::problemActivated);
    connect(m_problemList, &QTreeWidget::itemDoubleClicked, this, &PreviewWindow::problemActivated);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_stage);
    splitter->addWidget(m_problemList);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({480, 120}); // the list's own size hint would take half the window
    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The kiosk as at another moment: which pages are on show by their #show lines.
    m_showAtBox = new QCheckBox(tr("Show as at"), this);
    m_showAtBox->setObjectName(QStringLiteral("showAtBox"));
    m_showAtEdit = new QDateTimeEdit(QDateTime::currentDateTime(), this);
    m_showAtEdit->setObjectName(QStringLiteral("showAtEdit"));
    m_showAtEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    m_showAtEdit->setCalendarPopup(true);
    m_showAtEdit->setEnabled(false);
    m_showAtEdit->setAccessibleName(tr("Show the kiosk as at"));
    connect(m_showAtBox, &QCheckBox::toggled, this, &PreviewWindow::showAtChanged);
    connect(m_showAtEdit, &QDateTimeEdit::dateTimeChanged, this, &PreviewWindow::showAtChanged);
    auto* showAt = new QHBoxLayout;
    showAt->setContentsMargins(4, 0, 4, 0);
    showAt->addWidget(m_showAtBox);
    showAt->addWidget(m_showAtEdit);
    showAt->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(2);
    layout->addWidget(splitter, 1);
    layout->addLayout(showAt);
    layout->addWidget(m_statusLabel);
    m_statusLabel->setContentsMargins(4, 0, 4, 0);
    resize(640, 680);
    setStatus(tr("No page to preview: Preview in an editor shows its page here."));
}

PreviewWindow::~PreviewWindow() = default;

bool PreviewWindow::isMaking() const { return m_pause->isActive() || m_make->isBusy(); }

qint64 PreviewWindow::lastMakeMs() const { return m_make->lastMakeMs(); }

void PreviewWindow::follow(QObject* source, PageSource page)
{
    m_source = source;
    m_page = std::move(page);
    m_pause->stop();
    makeNow();
}

void PreviewWindow::sourceChanged(QObject* source)
{
    if (source && source == m_source) {
        // The make under way is of a text already out of date.
        m_make->drop();
        m_pause->start();
    }
}

void PreviewWindow::forget(QObject* source)
{
    if (source == m_source || m_source.isNull())
        clear();
}

void PreviewWindow::clear()
{
    m_source = nullptr;
    m_page = {};
    m_pause->stop();
    m_make->stop();
    m_shownPage.clear();
    m_pageLabel.clear();
    m_frames.reset();
    ++m_loadSerial;
    m_loadingMade = m_loadingContent = m_madeLoaded = false;
    m_browser->setUrl(QUrl(QStringLiteral("about:blank")));
    setWindowTitle(tr(kTitle));
    setProblems({}, {});
    setStatus(tr("No page to preview."));
    emit cleared();
}

void PreviewWindow::makeNow()
{
    const std::optional<PreviewPage> page = m_page ? m_page() : std::nullopt;
    if (!page) {
        clear();
        return;
    }
    m_pageLabel = pageLabel(*page);
    setWindowTitle(tr(kTitle) + u' ' + m_pageLabel);
    const QSize screen(setting(*page, QStringLiteral("screenwidth"), 1280),
                       setting(*page, QStringLiteral("screenheight"), 1024));
    if (screen != m_screen && screen.width() > 0 && screen.height() > 0) {
        m_screen = screen;
        placeBrowser();
    }
    m_make->request(*page);
}

void PreviewWindow::showMade(const QString& madePage)
{
    m_shownPage = madePage;
    setProblems(m_make->problems(), m_make->madePage().body);
    const QString problems = m_problems.isEmpty()     ? tr("no problems")
                             : m_problems.size() == 1 ? tr("1 problem")
                                                      : tr("%1 problems").arg(m_problems.size());
    setStatus(tr("%1 - %2 - made in %3 ms").arg(m_pageLabel, problems).arg(m_make->lastMakeMs()));
    Frames frames = framesOf(madePage);
    const bool sameFrames = !frames.frameset.isEmpty() && m_frames == frames && m_madeLoaded && !m_loadingMade
                            && m_browser->url() == QUrl::fromLocalFile(madePage);
    m_frames = std::move(frames);
    if (!sameFrames) {
        loadWhole(madePage);
        return;
    }
    m_loadingContent = true;
    m_webPage->reloadContent(++m_loadSerial);
}

void PreviewWindow::loadWhole(const QString& madePage)
{
    ++m_loadSerial;
    m_loadingContent = false;
    m_loadingMade = true;
    m_madeLoaded = false;
    m_browser->load(QUrl::fromLocalFile(madePage));
}

void PreviewWindow::showAtChanged()
{
    const bool chosen = m_showAtBox->isChecked();
    m_showAtEdit->setEnabled(chosen);
    m_webPage->setShowAt(chosen ? m_showAtEdit->dateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm")) : QString());
    if (!m_shownPage.isEmpty())
        loadWhole(m_shownPage);
}

void PreviewWindow::contentLoaded(int serial)
{
    if (serial != m_loadSerial || !std::exchange(m_loadingContent, false))
        return;
    emit pageShown();
}

PreviewWindow::Frames PreviewWindow::framesOf(const QString& madePage)
{
    const auto bytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QFileInfo page(madePage);
    Frames frames;
    frames.page = madePage;
    frames.frameset = bytes(madePage);
    frames.navigation = bytes(page.path() + u'/' + page.completeBaseName() + QStringLiteral("_nav.htm"));
    const QDir kiosk(page.path() + QStringLiteral("/.."));
    for (const QString& name : {QStringLiteral("stylesheet.css"), QStringLiteral("frame_script.js")}) {
        const QFileInfo shared(kiosk.filePath(name));
        frames.shared += shared.canonicalFilePath() + u' ' + QString::number(shared.size()) + u' '
                         + QString::number(shared.lastModified().toMSecsSinceEpoch()) + u'\n';
    }
    return frames;
}

void PreviewWindow::setProblems(QList<Finding> problems, QString text)
{
    m_problems = std::move(problems);
    m_problemsText = std::move(text);
    m_problemList->clear();
    for (const Finding& problem : std::as_const(m_problems)) {
        auto* item = new QTreeWidgetItem(m_problemList, {QString::number(problem.line), problem.kind, problem.text});
        item->setToolTip(2, problem.text);
        item->setData(0, Qt::UserRole, problem.line);
    }
    emit problemsChanged();
}

void PreviewWindow::problemActivated(QTreeWidgetItem* item)
{
    if (item && m_source)
        emit goToLine(m_source, item->data(0, Qt::UserRole).toInt());
}

void PreviewWindow::showFailure(const QString& reason)
{
    setStatus(tr("The preview could not be made: %1").arg(reason));
}

// The viewer's rule, kept to the preview's kiosk system: script links and
// its existing files.
bool PreviewWindow::mayNavigate(const QUrl& url)
{
    const QString target = NavigationGuard::targetText(url);
    if (url.scheme() == QStringLiteral("about") && url.path() == QStringLiteral("blank"))
        return true;
    if (NavigationGuard::startsWith(workbench().session(), target, QStringLiteral("javascript:")))
        return true;
    const QString kiosk = QDir::toNativeSeparators(previewFolder()) + QDir::separator();
    if (target.startsWith(kiosk) && NavigationGuard::allows(workbench().session(), target))
        return true;
    setStatus(tr("%1 does not exist").arg(target));
    return false;
}

void PreviewWindow::setStatus(const QString& text)
{
    m_statusLabel->setText(text);
    m_statusLabel->setToolTip(text);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_stage && (event->type() == QEvent::Resize || event->type() == QEvent::ScreenChangeInternal))
        placeBrowser();
    return QWidget::eventFilter(watched, event);
}

// The largest rectangle of the kiosk screen's shape that fits the stage,
// centred; the page is zoomed so the kiosk's width fills it: laid out at the
// kiosk's size in CSS pixels, drawn over the browser's device pixels at any
// desktop scale. The stage is kept large enough for the engine's smallest
// zoom, so the page is never laid out wider than the kiosk's.
void PreviewWindow::placeBrowser()
{
    if (m_screen.isEmpty())
        return;
    m_stage->setMinimumSize((m_screen + QSize(kMinimumZoomDivisor - 1, kMinimumZoomDivisor - 1)) / kMinimumZoomDivisor);
    const QSize stage = m_stage->size();
    if (stage.isEmpty())
        return;
    const QSize fitted = m_screen.scaled(stage, Qt::KeepAspectRatio);
    m_browser->setGeometry((stage.width() - fitted.width()) / 2, (stage.height() - fitted.height()) / 2, fitted.width(),
                           fitted.height());
    // The engine draws over whole device pixels, rounded up at fractional scales.
    const double ratio = m_browser->devicePixelRatioF();
    const double deviceWidth = std::ceil(fitted.width() * ratio - 1e-9);
    m_zoom = std::clamp(deviceWidth / ratio / double(m_screen.width()), 1.0 / kMinimumZoomDivisor, 5.0);
    m_browser->setZoomFactor(m_zoom);
}

void PreviewWindow::closeEvent(QCloseEvent* event)
{
    // Nothing is left running and nothing of the preview stays on disk.
    m_pause->stop();
    m_make->stop();
    PreviewPane::closeEvent(event);
}
