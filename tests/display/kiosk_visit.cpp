#include "kiosk_visit.h"

#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"

#include <QDirIterator>
#include <QMouseEvent>
#include <QWebEngineHistory>
#include <QWindow>

namespace {

// Records every console message of level Error: uncaught exceptions and
// failed script loads are reported this way.
class ConsoleRecordingPage : public QWebEnginePage {
public:
    ConsoleRecordingPage(QStringList* errors, QObject* parent) : QWebEnginePage(parent), m_errors(errors) {}
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override
    {
        if (level == ErrorMessageLevel)
            m_errors->append(QStringLiteral("%1:%2: %3").arg(source).arg(line).arg(message));
    }
    QStringList* m_errors;
};

} // namespace

KioskVisit::KioskVisit(QSize screen)
{
    copySampleKiosk(QDir::toNativeSeparators(m_dir.path()) + QDir::separator());
    QStringList configuration = readLines(path(QStringLiteral("configuration.txt")));
    for (QString& line : configuration) {
        if (line.startsWith(QStringLiteral("screenwidth ")))
            line = QStringLiteral("screenwidth %1").arg(screen.width());
        else if (line.startsWith(QStringLiteral("screenheight ")))
            line = QStringLiteral("screenheight %1").arg(screen.height());
    }
    writeTextFile(path(QStringLiteral("configuration.txt")), configuration);
    m_messages = runMaker({});
    m_view.setPage(new ConsoleRecordingPage(&m_errors, &m_view));
    m_view.resize(screen);
    QObject::connect(&m_view, &QWebEngineView::loadFinished, &m_view, [this] { ++m_loads; });
    m_view.show();
    EXPECT_TRUE(waitUntil([this] { return m_view.windowHandle() && m_view.windowHandle()->isExposed(); }));
}

QStringList KioskVisit::madePages() const
{
    QStringList pages;
    for (QDirIterator it(m_dir.path(), {QStringLiteral("*.htm")}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();)
        if (const QString page = QDir(m_dir.path()).relativeFilePath(it.next());
            !page.endsWith(QStringLiteral("_nav.htm")) && !page.endsWith(QStringLiteral("_con.htm")))
            pages.append(page);
    pages.sort();
    return pages;
}

QString KioskVisit::addPages(const std::map<QString, QStringList>& sources)
{
    QStringList paths;
    for (const auto& [relative, lines] : sources)
        writeTextFile(paths.emplaceBack(path(relative)), lines);
    return runMaker(paths);
}

QString KioskVisit::runMaker(const QStringList& pageSources)
{
    const MakeRun run = runZelMake(QStringList{m_dir.path()} + pageSources);
    EXPECT_NE(run.exitCode, -1) << run.err.toStdString();
    return run.err;
}

bool KioskVisit::open(const QString& relative)
{
    const int before = m_loads;
    m_view.setUrl(QUrl::fromLocalFile(path(relative)));
    const bool loaded = waitUntil([&] { return m_loads > before && settled(); }) && shown() == relative;
    m_view.history()->clear();
    return loaded;
}

bool KioskVisit::touch(const QString& buttonId)
{
    const QVariant clicked = evaluate(
        QStringLiteral("(function () { var b = frames['nav'].document.getElementById('%1'); if (b) b.click(); return !!b; })()").arg(buttonId));
    // A script link runs as a task of its own; once a later script has been
    // answered, it has run.
    evaluate(QStringLiteral("0"));
    return clicked.toBool();
}

bool KioskVisit::touchAndWaitFor(const QString& buttonId, const QString& relative)
{
    const int before = m_loads;
    return touch(buttonId) && waitUntil([&] { return m_loads > before && shown() == relative && settled(); });
}

bool KioskVisit::touchAtAndWaitFor(QPoint point, const QString& relative)
{
    const int before = m_loads;
    QWidget* screen = m_view.focusProxy() ? m_view.focusProxy() : &m_view;
    const QPointF global = screen->mapToGlobal(QPointF(point));
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(point), global, Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(screen, &event);
    }
    return waitUntil([&] { return m_loads > before && shown() == relative && settled(); });
}

bool KioskVisit::settled()
{
    return evaluate(QStringLiteral(
                        "(function () { try { return document.readyState === 'complete' && Array.prototype.every.call("
                        " window.frames, function (f) { return f.document.readyState === 'complete'; }); }"
                        " catch (e) { return false; } })()"))
        .toBool();
}

QString KioskVisit::shown() const
{
    const QString file = QFileInfo(m_view.url().toLocalFile()).canonicalFilePath();
    return file.isEmpty() ? QString() : QDir(QFileInfo(m_dir.path()).canonicalFilePath()).relativeFilePath(file);
}
