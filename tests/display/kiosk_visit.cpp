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

// The contrast ratio of two computed colours.
const QString kContrast = QStringLiteral(
    " function lum(c) { var m = c.match(/[\\d.]+/g).slice(0, 3).map(function (v) { v = v / 255;"
    "   return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4); });"
    "   return 0.2126 * m[0] + 0.7152 * m[1] + 0.0722 * m[2]; }"
    " function ratio(a, b) { var x = lum(a), y = lum(b); return (Math.max(x, y) + 0.05) / (Math.min(x, y) + 0.05); }");

// Faults of the navigation column: a button face much narrower than the
// column or lower than its cell, cells not filling the frame, a column that
// scrolls; a button whose middle is not its own, a caption larger than its
// button, of more than three lines or broken inside a word (other than at a
// hyphen), too little contrast (caption 4.5:1 to its button, button 3:1 to the
// column); and content of a frame that does not scroll reaching below it.
const QString kNavigationFaults =
    QStringLiteral("(function () { var nav = window.frames['nav'], doc = nav.document, out = [];") + kContrast
    + QStringLiteral(
        " var links = doc.querySelectorAll('a.nav'), cells = doc.querySelectorAll('table.nav td'), total = 0;"
        " for (var j = 0; j < cells.length; ++j) total += cells[j].getBoundingClientRect().height;"
        " if (total < nav.innerHeight - 8) out.push('cells short');"
        " if (doc.scrollingElement.scrollHeight > nav.innerHeight) out.push('column overflows');"
        " for (var i = 0; i < links.length; ++i) { var a = links[i]; if (!a.textContent) continue;"
        "   var box = a.getBoundingClientRect(), cell = a.parentNode.getBoundingClientRect();"
        "   if (box.width < 0.85 * nav.innerWidth || box.height < 0.8 * cell.height) out.push(a.id + ' small');"
        "   var hit = doc.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);"
        "   if (!hit || !hit.closest('td') || hit.closest('td') !== a.parentNode) out.push(a.id + ' not hit');"
        "   var cap = a.querySelector('.caption') || a, c = cap.getBoundingClientRect(), s = getComputedStyle(cap);"
        "   if (cap.scrollWidth > cap.clientWidth + 1 || c.width > box.width + 0.5 || c.height > box.height + 0.5)"
        "     out.push(a.id + ' caption too big');"
        "   if (Math.round(c.height / parseFloat(s.lineHeight)) > 3) out.push(a.id + ' more than three lines');"
        "   var walk = doc.createTreeWalker(cap, NodeFilter.SHOW_TEXT), node;"
        "   while ((node = walk.nextNode())) { var re = /\\S+/g, m;"
        "     while ((m = re.exec(node.nodeValue))) { var r = doc.createRange(); r.setStart(node, m.index);"
        "       r.setEnd(node, m.index + m[0].length); var lines = {};"
        "       Array.prototype.forEach.call(r.getClientRects(), function (q) {"
        "         if (q.width > 0) lines[Math.round(q.top)] = 1; });"
        "       if (Object.keys(lines).length > 1 && m[0].indexOf('\\u00ad') < 0) out.push(a.id + ' breaks ' + m[0]); } }"
        "   if (a.classList.contains('disabled')) continue;"
        "   var bs = getComputedStyle(a);"
        "   if (ratio(bs.color, bs.backgroundColor) < 4.5) out.push(a.id + ' caption contrast');"
        "   if (ratio(bs.backgroundColor, getComputedStyle(a.parentNode).backgroundColor) < 3)"
        "     out.push(a.id + ' button contrast'); }"
        " var con = window.frames['con'], frame = con.frameElement, page = con.document.scrollingElement;"
        " if (frame.getAttribute('scrolling') !== 'yes' && !con.document.getElementById('sTable')"
        "     && page.scrollHeight > con.innerHeight + 1) out.push('content cut off');"
        " return out.join('; '); })()");

// The current row's faults: not beside Select, not wholly on the screen,
// under the title, not as high as Select, not the row a touch on its middle
// finds, or too little contrast to the other rows.
const QString kSelectorRow =
    QStringLiteral("(function () { try {") + kContrast
    + QStringLiteral(
        " var con = window.frames['con'], doc = con.document, rows = doc.getElementById('sTable').rows;"
        " var cell = window.frames['nav'].document.getElementById('b2').parentNode.getBoundingClientRect();"
        " var title = doc.querySelector('p.title').getBoundingClientRect(), current = [], out = [];"
        " for (var i = 0; i < rows.length; ++i) if (rows[i].className === 'current') current.push(i);"
        " var row = rows[current[0]], r = row.getBoundingClientRect();"
        " if (Math.abs(r.top - cell.top) > 2 || Math.abs(r.height - cell.height) > 2) out.push('not beside Select');"
        " if (r.top < 0 || r.bottom > con.innerHeight + 1) out.push('not on the screen');"
        " if (title.bottom > r.top + 0.5) out.push('under the title');"
        " var hit = doc.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);"
        " if (!hit || hit.closest('tr') !== row) out.push('not found by a touch');"
        " var other = rows[current[0] === 0 ? 1 : 0].cells[1], mine = row.cells[1];"
        " if (ratio(getComputedStyle(mine).backgroundColor, getComputedStyle(other).backgroundColor) < 3)"
        "   out.push('contrast');"
        " return [current.join(), doc.getElementsByName('row')[0].value, out.join('; '),"
        "   Math.floor((con.innerHeight - cell.top) / rows[0].getBoundingClientRect().height)];"
        " } catch (e) { return []; } })()");

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

QString KioskVisit::navigationFaults() { return evaluate(kNavigationFaults).toString(); }

QVariantList KioskVisit::selectorRow() { return evaluate(kSelectorRow).toList(); }
