#include "kiosk_browser.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

constexpr int kTimeout = 20000;

} // namespace

// Records every console message of level Error: uncaught exceptions and
// failed script loads are reported this way.
class ConsoleRecordingPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;
    QStringList errors;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceID) override
    {
        if (level == ErrorMessageLevel)
            errors.append(sourceID + QStringLiteral(":") + QString::number(lineNumber) + QStringLiteral(": ")
                          + message);
    }
};

QString canonicalFile(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return QDir::toNativeSeparators(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

KioskBrowser::KioskBrowser(int width, int height)
    : m_view(std::make_unique<QWebEngineView>())
    , m_finished(std::make_shared<int>(0))
    , m_lastLoadOk(std::make_shared<bool>(false))
{
    m_page = new ConsoleRecordingPage(m_view.get());
    m_view->setPage(m_page);
    m_view->resize(width, height);
    QObject::connect(m_view.get(), &QWebEngineView::loadFinished, m_view.get(),
                     [finished = m_finished, ok = m_lastLoadOk](bool success) {
                         *ok = success;
                         ++*finished;
                     });
    m_view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
}

KioskBrowser::~KioskBrowser() = default;

int KioskBrowser::finishedLoads() const { return *m_finished; }

bool KioskBrowser::waitForLoadAfter(int loadsBefore)
{
    return QTest::qWaitFor([&] { return finishedLoads() > loadsBefore; }, kTimeout) && *m_lastLoadOk;
}

bool KioskBrowser::load(const QString& filePath)
{
    const int before = finishedLoads();
    m_view->setUrl(QUrl::fromLocalFile(filePath));
    const bool loaded = waitForLoadAfter(before) && currentFile() == canonicalFile(filePath);
    m_view->history()->clear();
    return loaded;
}

QVariant KioskBrowser::evaluate(const QString& script)
{
    auto answered = std::make_shared<bool>(false);
    auto answer = std::make_shared<QVariant>();
    m_page->runJavaScript(script, [answered, answer](const QVariant& value) {
        *answer = value;
        *answered = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return *answered; }, kTimeout)) << script.toStdString();
    return *answer;
}

bool KioskBrowser::waitForFileAfter(int loadsBefore, const QString& filePath)
{
    const QString wanted = canonicalFile(filePath);
    return QTest::qWaitFor([&] { return finishedLoads() > loadsBefore && currentFile() == wanted; }, kTimeout)
           && *m_lastLoadOk;
}

bool KioskBrowser::evaluateAndWaitFor(const QString& script, const QString& filePath)
{
    const int before = finishedLoads();
    evaluate(script);
    return waitForFileAfter(before, filePath);
}

namespace {

QString clickScript(const QString& buttonId)
{
    return QStringLiteral("(function () { var b = window.frames['nav'].document.getElementById('%1');"
                          " if (!b) return false; b.click(); return true; })()")
        .arg(buttonId);
}

} // namespace

bool KioskBrowser::touch(const QString& buttonId)
{
    if (!evaluate(clickScript(buttonId)).toBool())
        return false;
    // A script link runs as a task of its own; once a later script has been
    // answered, it has run.
    evaluate(QStringLiteral("0"));
    return true;
}

bool KioskBrowser::touchAndWaitFor(const QString& buttonId, const QString& filePath)
{
    const int before = finishedLoads();
    return evaluate(clickScript(buttonId)).toBool() && waitForFileAfter(before, filePath);
}

QString KioskBrowser::currentFile() const
{
    const QUrl url = m_view->url();
    return url.isLocalFile() ? canonicalFile(url.toLocalFile()) : QString();
}

QStringList KioskBrowser::scriptErrors() const { return m_page->errors; }

void KioskBrowser::clearScriptErrors() { m_page->errors.clear(); }

QImage KioskBrowser::grab() { return m_view->grab().toImage(); }
