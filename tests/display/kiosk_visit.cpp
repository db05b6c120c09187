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

// The checks a visitor makes, as script functions.
const QString& checks()
{
    static const QString script = QString::fromUtf8(readBytes(ZEL_SOURCE_DIR "/tests/display/visitor_checks.js"));
    return script;
}

} // namespace

KioskVisit::KioskVisit(QSize screen)
{
    copySampleKiosk(QDir::toNativeSeparators(m_dir.path()) + QDir::separator());
    // A later line of the configuration wins over the sample's.
    writeTextFile(path("configuration.txt"), readLines(path("configuration.txt"))
                                                 << QStringLiteral("screenwidth %1").arg(screen.width())
                                                 << QStringLiteral("screenheight %1").arg(screen.height()));
    m_messages = addPages({});
    m_view.setPage(new ConsoleRecordingPage(&m_errors, &m_view));
    m_view.resize(screen);
    QObject::connect(&m_view, &QWebEngineView::loadFinished, &m_view, [this] { ++m_loads; });
    m_view.show();
    EXPECT_TRUE(waitUntil([this] { return m_view.windowHandle() && m_view.windowHandle()->isExposed(); }));
}

QStringList KioskVisit::madePages() const
{
    QStringList pages;
    for (QDirIterator it(m_dir.path(), {"*.htm"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        if (const QString page = QDir(m_dir.path()).relativeFilePath(it.next());
            !page.endsWith("_nav.htm") && !page.endsWith("_con.htm"))
            pages.append(page);
    pages.sort();
    return pages;
}

QString KioskVisit::addPages(const std::map<QString, QStringList>& sources)
{
    QStringList arguments = {m_dir.path()};
    for (const auto& [relative, lines] : sources)
        writeTextFile(arguments.emplaceBack(path(relative)), lines);
    const MakeRun run = runZelMake(arguments);
    EXPECT_NE(run.exitCode, -1) << run.err.toStdString();
    return run.err;
}

bool KioskVisit::waitForPage(int before, const QString& relative)
{
    return waitUntil([&] {
        return m_loads > before && shown() == relative
               && evaluate("(function () { try { return document.readyState === 'complete' && Array.prototype.every"
                           ".call(window.frames, function (f) { return f.document.readyState === 'complete'; }); }"
                           " catch (e) { return false; } })()")
                      .toBool();
    });
}

bool KioskVisit::open(const QString& relative)
{
    const int before = m_loads;
    m_view.setUrl(QUrl::fromLocalFile(path(relative)));
    const bool loaded = waitForPage(before, relative);
    m_view.history()->clear();
    return loaded;
}

bool KioskVisit::touch(const QString& buttonId)
{
    const QVariant clicked = evaluate(QStringLiteral("(function () { var b = frames['nav'].document.getElementById("
                                                     "'%1'); if (b) b.click(); return !!b; })()")
                                          .arg(buttonId));
    // A script link runs as a task of its own; once a later script has been
    // answered, it has run.
    evaluate("0");
    return clicked.toBool();
}

bool KioskVisit::touchAndWaitFor(const QString& buttonId, const QString& relative)
{
    const int before = m_loads;
    return touch(buttonId) && waitForPage(before, relative);
}

bool KioskVisit::touchAtAndWaitFor(QPoint point, const QString& relative)
{
    const int before = m_loads;
    QWidget* screen = m_view.focusProxy() ? m_view.focusProxy() : &m_view;
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(point), screen->mapToGlobal(QPointF(point)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(screen, &event);
    }
    return waitForPage(before, relative);
}

QString KioskVisit::shown() const
{
    const QString file = QFileInfo(m_view.url().toLocalFile()).canonicalFilePath();
    return file.isEmpty() ? QString() : QDir(QFileInfo(m_dir.path()).canonicalFilePath()).relativeFilePath(file);
}

QVariant KioskVisit::check(const QString& call)
{
    const QVariant answer = evaluate("(function () {\n" + checks() + "\nreturn " + call + "; })()");
    if (!answer.isValid())
        ADD_FAILURE() << call.toStdString() << " gave no answer";
    return answer;
}
