// The made pages on a real touch screen at every usual screen size, with
// pages harder than the sample's: a 60-character caption and a long word on
// buttons, a selector of 40 items under a title of three lines, a leaf page
// with a wide table and a long word. Buttons take only their own touches and
// hold their captions; the current row stays in view beside Select; a touch
// anywhere on a row opens its page in the whole window and Back comes back to
// that row; nothing scrolls sideways; left alone, the kiosk goes home.
#include "kiosk_visit.h"

namespace {

const QSize kScreens[] = {{800, 600}, {1024, 768}, {1280, 1024}, {1080, 1920}};

const QStringList kShops = QStringLiteral("bakery bookshop butcher cafe chemist florist grocer hardware library museum"
                                          " post-office toyshop")
                               .split(u' ');

QString shopOfRow(int row) { return QStringLiteral("shops/%1.htm").arg(kShops.at(row % kShops.size())); }

std::map<QString, QStringList> hardPages()
{
    QStringList selector = {QStringLiteral("#selector"),
                            QStringLiteral("#title Every shop, stall and service of the harbour quarter and of the old "
                                           "town, listed street by street from the quay up to the castle gate")};
    for (int row = 0; row < 40; ++row) {
        const QString shop = kShops.at(row % kShops.size());
        selector << QStringLiteral("#item %1.jpg %1 <b>Item %2</b><br>%3").arg(shop).arg(row).arg(
                        row % 3 ? QStringLiteral("Open every day.")
                                : QStringLiteral("A long description that wraps to several lines in the text "
                                                 "column of the row, more than the row has room for at small sizes."));
    }
    // A branch page whose text is far taller than its frame, which does not scroll.
    QStringList branch = {QStringLiteral("#branch"), QStringLiteral("#title Long captions"),
                          QStringLiteral("#button castle Opening hours of the castle, its gardens and harbour museums"),
                          QStringLiteral("#button walks Walks"),
                          QStringLiteral("#button castle Lighthousepreservationsociety"), QStringLiteral("#para")};
    for (int line = 0; line < 30; ++line)
        branch << QStringLiteral("Line %1 of a text that is much too long for one screen.").arg(line);
    return {
        {QStringLiteral("shops/long.zel"), selector},
        {QStringLiteral("visiting/long.zel"), branch},
        {QStringLiteral("news/wide.zel"),
         {QStringLiteral("#leaf"), QStringLiteral("#title Timetable"), QStringLiteral("#html"),
          QStringLiteral("<table width=2400><tr><td>Monday</td><td>Tuesday</td><td>Wednesday</td><td>Thursday</td>"
                         "<td>Friday</td><td>Saturday</td><td>Sunday</td><td>Holidays</td></tr></table>"),
          QStringLiteral("#para"),
          QStringLiteral("Supercalifragilisticexpialidociousandmoreletterstomakeitwiderthananyscreenofthekiosk "
                         "www.ostervale.example/visitors/harbour/opening-hours/summer-timetable.html")}},
    };
}

// The contrast ratio of two computed colours.
const QString kContrast = QStringLiteral(
    " function lum(c) { var m = c.match(/[\\d.]+/g).slice(0, 3).map(function (v) { v = v / 255;"
    "   return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4); });"
    "   return 0.2126 * m[0] + 0.7152 * m[1] + 0.0722 * m[2]; }"
    " function ratio(a, b) { var x = lum(a), y = lum(b); return (Math.max(x, y) + 0.05) / (Math.min(x, y) + 0.05); }");

// Faults of the navigation column: a button whose middle is not its own, a
// caption larger than its button, of more than three lines or broken inside
// a word (other than at a hyphen), too little contrast (caption 4.5:1 to its
// button, button 3:1 to the column); and content of a frame that does not
// scroll reaching below it.
const QString kButtonFaults = QStringLiteral(
    "(function () { var nav = window.frames['nav'], doc = nav.document, out = [];") + kContrast + QStringLiteral(
    " var links = doc.querySelectorAll('a.nav');"
    " for (var i = 0; i < links.length; ++i) { var a = links[i]; if (!a.textContent) continue;"
    "   var box = a.getBoundingClientRect(), hit = doc.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);"
    "   if (!hit || !hit.closest('td') || hit.closest('td') !== a.parentNode) out.push(a.id + ' not hit');"
    "   var cap = a.querySelector('.caption') || a, c = cap.getBoundingClientRect(), s = getComputedStyle(cap);"
    "   if (cap.scrollWidth > cap.clientWidth + 1 || c.width > box.width + 0.5 || c.height > box.height + 0.5)"
    "     out.push(a.id + ' caption too big');"
    "   if (Math.round(c.height / parseFloat(s.lineHeight)) > 3) out.push(a.id + ' more than three lines');"
    "   var walk = doc.createTreeWalker(cap, NodeFilter.SHOW_TEXT), node;"
    "   while ((node = walk.nextNode())) { var re = /\\S+/g, m;"
    "     while ((m = re.exec(node.nodeValue))) { var r = doc.createRange(); r.setStart(node, m.index);"
    "       r.setEnd(node, m.index + m[0].length); var lines = {};"
    "       Array.prototype.forEach.call(r.getClientRects(), function (q) { if (q.width > 0) lines[Math.round(q.top)] = 1; });"
    "       if (Object.keys(lines).length > 1 && m[0].indexOf('\\u00ad') < 0) out.push(a.id + ' breaks ' + m[0]); } }"
    "   if (a.classList.contains('disabled')) continue;"
    "   var bs = getComputedStyle(a);"
    "   if (ratio(bs.color, bs.backgroundColor) < 4.5) out.push(a.id + ' caption contrast');"
    "   if (ratio(bs.backgroundColor, getComputedStyle(a.parentNode).backgroundColor) < 3) out.push(a.id + ' button contrast'); }"
    " var con = window.frames['con'], frame = con.frameElement, page = con.document.scrollingElement;"
    " if (frame.getAttribute('scrolling') !== 'yes' && !con.document.getElementById('sTable')"
    "     && page.scrollHeight > con.innerHeight + 1) out.push('content cut off');"
    " return out.join('; '); })()");

// The current row (highlighted, and in the field "row") and the faults of its
// place: not beside Select, not wholly on the screen, under the title, not
// as high as Select, or not the row a touch on its middle finds; and too
// little contrast to the other rows. Nothing while the page is still loading.
const QString kRowPlace = QStringLiteral("(function () { try {") + kContrast + QStringLiteral(
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
    " if (ratio(getComputedStyle(mine).backgroundColor, getComputedStyle(other).backgroundColor) < 3) out.push('contrast');"
    " return [current.join(), doc.getElementsByName('row')[0].value, out.join('; ')]; } catch (e) { return []; } })()");

// Where a finger touches the row's picture and its text (in the window).
const QString kRowTargets = QStringLiteral(
    "(function (n) { var row = window.frames['con'].document.getElementById('sTable').rows[n];"
    " var p = row.getElementsByTagName('img')[0].getBoundingClientRect(), t = row.getElementsByTagName('p')[0].getBoundingClientRect();"
    " return [p.left + p.width / 2, p.top + p.height / 2, t.left + t.width / 2, t.top + t.height / 2]; })(%1)");

// Sideways overflow of a leaf page, and whether Up and Down look disabled.
const QString kLeafState = QStringLiteral(
    "(function () { var con = window.frames['con'], doc = con.document, page = doc.scrollingElement, out = [];"
    " if (page.scrollWidth > page.clientWidth) out.push('scrolls sideways');"
    " doc.body.querySelectorAll('*').forEach(function (e) { var r = e.getBoundingClientRect();"
    "   if (r.width > 0 && r.right > page.clientWidth + 1) out.push(e.nodeName + ' too wide'); });"
    " var nav = window.frames['nav'].document;"
    " return [out.join('; '), nav.getElementById('b2').classList.contains('disabled'),"
    "   nav.getElementById('b7').classList.contains('disabled'), page.scrollHeight > page.clientHeight]; })()");

const char* const kButtonPages[] = {"root/root.htm", "visiting/long.htm", "shops/long.htm", "news/wide.htm", "missing.html"};

// Moves on the long selector (Page Down often enough to reach its end).
const char* const kMoves[] = {"b6", "b7", "b7", "b6", "b4", "b5", "b7", "b7", "b7", "b7", "b7",
                              "b7", "b7", "b7", "b7", "b7", "b7", "b6", "b4", "b5", "b4"};

TEST(TouchScreen, EveryScreenSizeWorksByTouch)
{
    for (const QSize screen : kScreens) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
        KioskVisit kiosk(screen);
        const QString made = kiosk.addPages(hardPages());
        ASSERT_FALSE(made.contains(QStringLiteral("rror"))) << made.toStdString();

        for (const char* page : kButtonPages) {
            SCOPED_TRACE(page);
            ASSERT_TRUE(kiosk.open(QString::fromLatin1(page)));
            EXPECT_EQ(kiosk.evaluate(kButtonFaults).toString(), QString());
        }

        // The wide leaf page: nothing wider than the column; at the top Up
        // looks disabled, and Down unless there is more below.
        ASSERT_TRUE(kiosk.open(QStringLiteral("news/wide.htm")));
        QVariantList leaf = kiosk.evaluate(kLeafState).toList();
        EXPECT_EQ(leaf.value(0).toString(), QString());
        EXPECT_TRUE(leaf.value(1).toBool());
        EXPECT_EQ(leaf.value(2).toBool(), !leaf.value(3).toBool());

        // The long selector: after every move the current row stands beside Select.
        const QString selector = QStringLiteral("shops/long.htm");
        ASSERT_TRUE(kiosk.open(selector));
        QVariantList place = kiosk.evaluate(kRowPlace).toList();
        for (const char* button : kMoves) {
            SCOPED_TRACE(button);
            ASSERT_TRUE(kiosk.touch(QString::fromLatin1(button)));
            place = kiosk.evaluate(kRowPlace).toList();
            EXPECT_EQ(place.value(0).toString(), place.value(1).toString());
            EXPECT_EQ(place.value(2).toString(), QString());
        }
        const int row = place.value(0).toInt();
        ASSERT_GT(row, 0);

        // A touch on the picture, then on the text of the current row, then on
        // the text of the row below, opens that row's page; Back shows the
        // selector at the row it was left on.
        const struct { int row; int point; } touches[] = {{row, 0}, {row, 2}, {row + 1, 2}};
        for (const auto& touch : touches) {
            SCOPED_TRACE(touch.point ? "text" : "picture");
            const QVariantList at = kiosk.evaluate(kRowTargets.arg(touch.row)).toList();
            const QPoint point(at.value(touch.point).toInt(), at.value(touch.point + 1).toInt());
            EXPECT_TRUE(kiosk.touchAtAndWaitFor(point, shopOfRow(touch.row))) << kiosk.shown().toStdString();
            EXPECT_TRUE(kiosk.touchAndWaitFor(QStringLiteral("b8"), selector));
            EXPECT_TRUE(waitUntil([&] { return kiosk.evaluate(kRowPlace).toList().value(0).toInt() == touch.row; }))
                << "Back shows the row touched";
            EXPECT_EQ(kiosk.evaluate(kRowPlace).toList().value(2).toString(), QString());
        }

        // Left alone, the kiosk goes home and forgets the remembered rows.
        kiosk.evaluate(QStringLiteral("idleSecondsBeforeHome = 0.2; noteTouch(); 0"));
        EXPECT_TRUE(waitUntil([&] { return kiosk.shown() == QStringLiteral("root/root.htm"); }));
        EXPECT_EQ(kiosk.evaluate(QStringLiteral("Object.keys(sessionStorage).join()")).toString(), QString());
        EXPECT_EQ(kiosk.scriptErrors(), QStringList());
    }
}

} // namespace
