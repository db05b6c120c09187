// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/kiosk_check.h"

#include "check/colour_contrast.h"
#include "check/copy_probe.h"
#include "check/style_sheet.h"
#include "config/configuration.h"
#include "config/kiosk_design.h"
#include "config/kiosk_system.h"
#include "config/screen_reach.h"
#include "config/selector_row.h"
#include "base/line_end.h"
#include "pages/page_paths.h"
#include "pages/support.h"
#include "platform/session.h"
#include "text/text_codec.h"
#include "text/text_files.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

QString key(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

QString clockText(const QDateTime& clock) { return clock.toString(QStringLiteral("yyyy-MM-dd HH:mm")); }

// A message's first line: the faulty-line messages carry the line and the
// file on the lines after it, and the finding names both already.
QString firstLine(const QString& text)
{
    const qsizetype end = text.indexOf(kCrLf);
    return end < 0 ? text : text.left(end);
}

bool isBold(const StyleSheet& sheet, const QString& selector)
{
    const QString weight = sheet.value(selector, QStringLiteral("font-weight")).toLower();
    return weight == QLatin1String("bold") || weight == QLatin1String("bolder") || weight.toInt() >= 600;
}

// The text box inside an element: its font from the style sheet (falling back
// on the body's, then 16 pixels), less its padding; a word wider than the box
// breaks anywhere when the element or the body lets long words wrap.
TextBox textBox(const StyleSheet& sheet, const QString& selector, double width, double height)
{
    TextBox box;
    const double bodySize = sheet.pixels(QStringLiteral("body"), QStringLiteral("font-size"), 16);
    box.fontSize = sheet.pixels(selector, QStringLiteral("font-size"), bodySize);
    box.lineHeight = sheet.lineHeight(selector, box.fontSize);
    box.bold = isBold(sheet, selector);
    const QString wrap = QStringLiteral("overflow-wrap");
    QString wrapping = sheet.value(selector, wrap).trimmed().toLower();
    if (wrapping.isEmpty())
        wrapping = sheet.value(QStringLiteral("body"), wrap).trimmed().toLower();
    box.breaksWords = !wrapping.isEmpty() && wrapping != QLatin1String("normal");
    const QString padding = QStringLiteral("padding");
    box.width = width - sheet.side(selector, padding, 1) - sheet.side(selector, padding, 3);
    box.height = height - sheet.side(selector, padding, 0) - sheet.side(selector, padding, 2);
    return box;
}

} // namespace

// The page maker's problem sink: takes the problems of a page being read as findings.
class KioskCheck::ProblemCollector : public ProblemSink {
public:
    explicit ProblemCollector(KioskCheck& check) : m_check(check) {}
    void report(const Problem& problem) override { m_check.noteProblem(problem); }

private:
    KioskCheck& m_check;
};

KioskCheck::KioskCheck(KioskSystem& kiosk) : m_kiosk(kiosk), m_collector(std::make_unique<ProblemCollector>(*this)) {}

KioskCheck::~KioskCheck() = default;

void KioskCheck::begin()
{
    m_maker = std::make_unique<PageMaker>(kiosk(), *m_collector);
    m_maker->setWriteOutput(false);
    m_maker->setUseHandler([this](PageMaker::Use use, const QString& value) { noteUse(use, value); });
    m_copies = std::make_unique<CopyProbe>(kiosk().session(), [this](const QString& copy, bool removed) {
        m_changedCopies.append(ChangedCopy{
            m_maker->currentLineNumber(),
            QStringLiteral("Picture copy ") + copy
                + (removed ? QStringLiteral(" would be removed") : QStringLiteral(" would be made again"))});
    });
    m_maker->setCopyProbe(m_copies.get());
    m_pages = m_maker->allPageSources();
    m_rootPage = key(kiosk().folder() + QStringLiteral("root") + QDir::separator() + QStringLiteral("root.zel"));
    m_next = 0;
    m_complete = false;
    m_findings.clear();
    m_references.clear();
    m_schedules.clear();
    m_firstReference.clear();
    m_moment = m_givenMoment.isValid() ? m_givenMoment : QDateTime::currentDateTime();
    addFolderMove();
    addBadNames();
    setUpTextBoxes();
}

// Make tells the author at the open; the check names the line that moved it.
void KioskCheck::addFolderMove()
{
    const QString moved = configuration::folderMoveMessage(kiosk());
    if (!moved.isEmpty())
        m_findings.append(Finding{kiosk().openedFolder() + QStringLiteral("configuration.txt"),
                                  std::max(1, kiosk().folderLine()), FindingKind::FaultyLine, moved});
}

// Every page folder (one with page sources) and page whose name the name rule
// refuses, with the rule's message, the folder's finding before its pages'.
void KioskCheck::addBadNames()
{
    struct Refusals : ProblemSink {
        QString message;
        void report(const Problem& problem) override { message = problem.message; }
    };
    const auto add = [this](const QString& path, const QString& message) {
        // The message's first line names the name; the lines after it give the rule.
        const qsizetype end = message.indexOf(kCrLf);
        m_findings.append(
            Finding{path, 1, FindingKind::BadName,
                    end < 0 ? message : message.left(end) + QStringLiteral(": ") + message.mid(end).simplified()});
    };
    QString folderSeen;
    for (const QString& page : std::as_const(m_pages)) {
        QString folderName, pageName;
        PagePaths::splitPageSourcePath(page, folderName, pageName);
        const QString folder = QFileInfo(page).path();
        if (folder != folderSeen) {
            folderSeen = folder;
            if (Refusals refusal; !Support::isValidFolderName(folderName, refusal))
                add(QDir::toNativeSeparators(folder), refusal.message);
        }
        if (Refusals refusal; !Support::isValidPageName(pageName, refusal))
            add(page, refusal.message);
    }
}

namespace {

constexpr int kSmallestTarget = KioskDesign::smallestTargetPixels;

QString pixelText(double pixels) { return QString::number(std::floor(pixels)); }
QString millimetreText(double millimetres) { return QString::number(std::floor(millimetres * 10) / 10, 'f', 1); }

} // namespace

void KioskCheck::setUpTextBoxes()
{
    const KioskSystem& system = kiosk();
    const auto item = [&](const char* name) { return system.integerValue(QString::fromLatin1(name)); };
    const QString sheetPath = system.folder() + QStringLiteral("stylesheet.css");
    QString problem;
    StyleSheet sheet = StyleSheet::read(sheetPath, &problem);
    if (!problem.isEmpty()) {
        const QString why =
            problem.startsWith(QLatin1String("is ")) ? problem : QStringLiteral("cannot be read (%1)").arg(problem);
        m_findings.append(Finding{sheetPath, 1, FindingKind::Unreadable,
                                  QStringLiteral("Style sheet ") + sheetPath + u' ' + why
                                      + QStringLiteral(" - texts were checked with the default fonts")});
    }
    // As the kiosk's script does: sizes drawn for the design screen, scaled to the screen.
    sheet.setScreenScale(std::min(item("screenwidth") / double(KioskDesign::screenWidth),
                                  item("screenheight") / double(KioskDesign::screenHeight)),
                         KioskDesign::smallestRootFontSize);
    for (const QString& text : ColourContrast::lowContrasts(sheet))
        m_findings.append(Finding{sheetPath, 1, FindingKind::LowContrast, text});
    const int buttons = std::max<int>(1, item("buttons"));
    const int navigationHeight = item("navigationHeight");

    // A navigation button: the link fills its cell less the offsets it is placed by.
    const QString link = QStringLiteral("a.nav");
    const auto offset = [&](const char* side) { return sheet.pixels(link, QString::fromLatin1(side), 0); };
    const double rowHeight = double(navigationHeight / buttons);
    const int widths[2] = {item("rootButtonWidth"), item("branchButtonWidth")};
    for (int i = 0; i < 2; ++i) {
        m_buttonBox[i] = textBox(sheet, link, widths[i] - offset("left") - offset("right"),
                                 rowHeight - offset("top") - offset("bottom"));
        m_buttonBox[i].maxLines = KioskDesign::captionLines;
    }
    // Touch targets smaller than a fingertip, once for the kiosk system: the
    // layout is the same on every page.
    const double buttonWidth = std::min(widths[0], widths[1]) - offset("left") - offset("right");
    const double buttonHeight = rowHeight - offset("top") - offset("bottom");
    const SelectorRow row = SelectorRow::of(std::int16_t(navigationHeight), std::int16_t(buttons));
    addTargetFindings(buttonWidth, buttonHeight, row.height, offset("top") + offset("bottom"));

    // Root and branch content frames, as high as the screen.
    m_screenHeight = item("screenheight");
    m_contentHeight[0] = std::make_unique<ContentHeight>(sheet, item("rootContentWidth"));
    m_contentHeight[1] = std::make_unique<ContentHeight>(sheet, item("branchContentWidth"));

    // A selector row: the text cell beside the picture cell, less the
    // table's borders and the paragraph's margins.
    const QString itemText = QStringLiteral("p.item");
    const QString margin = QStringLiteral("margin");
    const int itemHeight = row.height;
    const int pictureWidth = row.pictureWidth;
    const double cellWidth = item("selectorContentWidth") - pictureWidth - 6;
    m_itemBox = textBox(sheet, itemText, cellWidth - sheet.side(itemText, margin, 1) - sheet.side(itemText, margin, 3),
                        itemHeight - 2 - sheet.side(itemText, margin, 0) - sheet.side(itemText, margin, 2));

    // The title across the content frame: two lines at most, a longer one
    // ends in an ellipsis; on a selector page one line in its own band.
    const QString title = QStringLiteral("p.title");
    for (const char* type : {"root", "branch", "leaf", "selector"}) {
        const QString name = QString::fromLatin1(type);
        TextBox box = textBox(sheet, title, system.integerValue(name + QStringLiteral("ContentWidth")), 1e6);
        box.maxLines = name == QLatin1String("selector") ? 1 : 2;
        box.breaksWords = box.breaksWords && box.maxLines > 1;
        m_titleBox.insert(u'#' + name, box);
    }
    setUpEnlargedBoxes(sheet, cellWidth, row.height, row.tableTop);
}

// With the visitor's text at 200 % the kiosk's script shrinks an item text
// no further than about 0.6 times the enlarged root size, and shows a selector's
// title on one line at most 1.6 times that size and half the height of its
// band above the table (elsewhere a title shows whole then, and root and
// branch content scrolls; captions shrink to the same smallest size at every
// text size).
void KioskCheck::setUpEnlargedBoxes(StyleSheet sheet, double cellWidth, int rowHeight, int tableTop)
{
    sheet.enlargeText(2);
    const double root = sheet.rootFontSize();
    const QString itemText = QStringLiteral("p.item");
    const QString margin = QStringLiteral("margin");
    m_enlargedItemBox = textBox(
        sheet, itemText, cellWidth - sheet.side(itemText, margin, 1) - sheet.side(itemText, margin, 3), rowHeight - 8);
    // Shrunk a pixel at a time from its styled size to the first at or below that.
    m_enlargedItemBox.fontSize -= std::ceil(m_enlargedItemBox.fontSize - 0.6 * root);
    m_enlargedItemBox.lineHeight = sheet.lineHeight(itemText, m_enlargedItemBox.fontSize);
    const QString title = QStringLiteral("p.title");
    m_enlargedSelectorTitleBox =
        textBox(sheet, title, kiosk().integerValue(QStringLiteral("selectorContentWidth")), tableTop);
    m_enlargedSelectorTitleBox.fontSize = std::min(1.6 * root, std::floor(tableTop * 0.5));
    m_enlargedSelectorTitleBox.lineHeight = m_enlargedSelectorTitleBox.height = tableTop;
    m_enlargedSelectorTitleBox.maxLines = 1;
    m_enlargedSelectorTitleBox.breaksWords = false;
}

// Buttons and selector rows smaller than 44 x 44 px, or than 9 x 9 mm on a
// screen whose size is given; with its height on the wall too, a navigation
// column the reachable part of the screen cannot hold (the kiosk's script
// squeezes it into that part, its buttons no smaller than those least sizes).
void KioskCheck::addTargetFindings(double buttonWidth, double buttonHeight, int rowHeight, double buttonGap)
{
    const KioskSystem& system = kiosk();
    const QString configuration = system.folder() + QStringLiteral("configuration.txt");
    const auto add = [&](const QString& kind, const QString& text) {
        m_findings.append(Finding{configuration, 1, kind, text});
    };
    if (buttonWidth < kSmallestTarget || buttonHeight < kSmallestTarget)
        add(FindingKind::SmallTouchTarget, QStringLiteral("Navigation buttons are %1 x %2 px, smaller than %3 x %3 px")
                                               .arg(pixelText(buttonWidth), pixelText(buttonHeight))
                                               .arg(kSmallestTarget));
    if (rowHeight < kSmallestTarget)
        add(FindingKind::SmallTouchTarget,
            QStringLiteral("Selector rows are %1 px high, smaller than %2 px").arg(rowHeight).arg(kSmallestTarget));
    const ScreenReach reach = ScreenReach::of(system);
    if (!reach.sizeKnown())
        return;
    const int screenHeight = system.integerValue(QStringLiteral("screenheight"));
    const double millimetres = reach.millimetresPerPixel(screenHeight);
    constexpr double smallest = KioskDesign::smallestTargetMm;
    if (buttonWidth * millimetres < smallest || buttonHeight * millimetres < smallest)
        add(FindingKind::SmallTouchTarget,
            QStringLiteral("Navigation buttons are %1 x %2 mm on the screen, smaller than %3 x %3 mm")
                .arg(millimetreText(buttonWidth * millimetres), millimetreText(buttonHeight * millimetres))
                .arg(smallest));
    if (rowHeight * millimetres < smallest)
        add(FindingKind::SmallTouchTarget,
            QStringLiteral("Selector rows are %1 mm high on the screen, smaller than %2 mm")
                .arg(millimetreText(rowHeight * millimetres))
                .arg(smallest));
    if (!reach.known())
        return;
    const double top = reach.bandTop(screenHeight), bottom = reach.bandBottom(screenHeight);
    const int buttons = std::max<int>(1, system.integerValue(QStringLiteral("buttons")));
    const double navigationHeight = system.integerValue(QStringLiteral("navigationHeight"));
    // The script's least row: a button face of the least size and the gap around it.
    const double leastRow = std::max<double>(kSmallestTarget, smallest / millimetres) + buttonGap;
    const double needed = std::min(navigationHeight, buttons * leastRow);
    const QString band = QStringLiteral("%1 to %2 mm").arg(KioskDesign::lowestReachMm).arg(KioskDesign::highestReachMm);
    if (bottom <= top)
        add(FindingKind::OutOfReach, QStringLiteral("The screen shows from %1 to %2 mm above the floor, none of it "
                                                    "within reach (%3): no button can be reached")
                                         .arg(reach.bottomMm)
                                         .arg(reach.bottomMm + reach.screenHeightMm)
                                         .arg(band));
    else if (bottom - top + 0.5 < needed)
        add(FindingKind::OutOfReach, QStringLiteral("Only %1 px of the screen are within reach (%2 above the floor), "
                                                    "too few for %3 buttons of at least %4 px: some are out of reach")
                                         .arg(pixelText(bottom - top), band)
                                         .arg(buttons)
                                         .arg(std::ceil(leastRow)));
}

bool KioskCheck::checkNextPage()
{
    if (m_complete)
        return false;
    if (m_next < m_pages.size()) {
        if (!m_skip || !m_skip(m_pages.at(m_next)))
            checkPage(m_pages.at(m_next));
        ++m_next;
        return true;
    }
    addUnreachablePages();
    addStrandedPages();
    sortFindings(m_findings);
    m_complete = true;
    return false;
}

void KioskCheck::run()
{
    begin();
    while (checkNextPage()) {
    }
}

void KioskCheck::runOnPageBeingWritten(const QString& pageSource)
{
    begin();
    m_findings.clear(); // the configuration's and the style sheet's are no page's
    m_judgeMadeFiles = false;
    checkPage(pageSource);
    m_judgeMadeFiles = true;
    m_next = int(m_pages.size());
    sortFindings(m_findings);
    m_complete = true;
}

void KioskCheck::checkPage(const QString& pageSource)
{
    m_source = pageSource;
    m_pageType.clear();
    m_pictures.clear();
    m_missingReference.clear();
    m_changedCopies.clear();
    m_content = nullptr;
    m_contentReported = false;
    m_references[key(pageSource)];
    m_maker->makeOne(pageSource);
    m_maker->run();
    // A page refused (not made) has no files of its own to be out of date.
    if (m_maker->pagesMade() > 0)
        checkMadePage(pageSource);
    checkSchedule(pageSource);
    if (m_pageRead) {
        QStringList pictures;
        for (const UsedPicture& picture : std::as_const(m_pictures))
            pictures.append(picture.path);
        m_pageRead(pageSource, pictures);
    }
}

QSet<QString> KioskCheck::referencesOf(const QString& pageSource) const { return m_references.value(key(pageSource)); }

// A page over or never on show, at its first #show line. (A wrong #show line
// is the maker's problem, an invalid time.)
void KioskCheck::checkSchedule(const QString& pageSource)
{
    QByteArray bytes;
    if (m_pageType == QLatin1String("#root") || !TextFiles::readAuthorFile(pageSource, bytes).isEmpty())
        return;
    const QStringList lines = TextCodec::splitLines(TextCodec::decode(bytes));
    const PageSchedule schedule = PageSchedule::ofLines(lines);
    m_schedules.insert(key(pageSource), schedule);
    if (schedule.always())
        return;
    const auto showLine = std::find_if(lines.cbegin() + 1, lines.cend(),
                                       [](const QString& line) { return PageSchedule::isShowLine(line); });
    const int line = int(showLine - lines.cbegin()) + 1;
    if (schedule.isOverAt(m_moment))
        add(line, FindingKind::Over,
            QStringLiteral("Page is over: it was on show until ") + clockText(*schedule.until()));
    else if (!schedule.everOnShow())
        add(line, FindingKind::NeverOnShow, QStringLiteral("Page is never on show: its #show lines leave no time"));
}

// Pages on show whose buttons and items all lead to pages off show: now or
// later, or at the moment given.
void KioskCheck::addStrandedPages()
{
    for (const QString& page : std::as_const(m_pages)) {
        const QString from = key(page);
        QList<PageSchedule> targets;
        for (const QString& target : m_references.value(from))
            if (m_references.contains(target))
                targets.append(m_schedules.value(target));
        const PageSchedule schedule = m_schedules.value(from);
        if (targets.isEmpty() || schedule.isOverAt(m_moment) || !schedule.everOnShow())
            continue;
        std::optional<QDateTime> moment;
        if (!m_givenMoment.isValid())
            moment = PageSchedule::firstStrandedMoment(schedule, targets, m_moment);
        else if (schedule.isOnShowAt(m_moment)
                 && std::none_of(targets.cbegin(), targets.cend(),
                                 [this](const PageSchedule& target) { return target.isOnShowAt(m_moment); }))
            moment = PageSchedule::clockTime(m_moment);
        if (moment)
            m_findings.append(Finding{page, std::max(1, m_firstReference.value(from)), FindingKind::Stranded,
                                      QStringLiteral("Every button and item leads to a page off show at ")
                                          + clockText(*moment) + QStringLiteral(": a visitor finds no way on")});
    }
}

void KioskCheck::add(int line, const QString& kind, const QString& text)
{
    m_findings.append(Finding{m_source, line, kind, text});
}

void KioskCheck::noteProblem(const Problem& problem)
{
    const QString message = firstLine(problem.message);
    const QString kind = FindingKind::of(problem.kind);
    // A problem about no page source (the image tool's) is about the line read last.
    const int line =
        std::max(1, problem.place.pageSource.isEmpty() ? m_maker->currentLineNumber() : problem.place.line);
    // Make's message names the line; the finding names the missing page.
    const QString reference = std::exchange(m_missingReference, QString());
    if (kind == FindingKind::DeadEnd && !reference.isEmpty())
        add(line, kind, message + QStringLiteral(": ") + reference);
    else
        add(line, kind, message);
}

void KioskCheck::noteUse(PageMaker::Use use, const QString& value)
{
    const int line = m_maker->currentLineNumber();
    switch (use) {
    case PageMaker::Use::PageType:
        m_pageType = value;
        m_content = m_pageType == QLatin1String("#root")     ? m_contentHeight[0].get()
                    : m_pageType == QLatin1String("#branch") ? m_contentHeight[1].get()
                                                             : nullptr;
        if (m_content)
            m_content->startPage();
        break;
    case PageMaker::Use::ContentLine:
        if (!m_content || m_contentReported)
            break;
        m_content->addLine(value);
        // The kiosk's script draws such content smaller, and where that would
        // make it unreadable lets the visitor scroll it.
        if (m_content->height() > m_screenHeight) {
            m_contentReported = true;
            add(std::max(1, line), FindingKind::MayNotFit,
                QStringLiteral("Content may not fit the screen: it is shown smaller or scrolls"));
        }
        break;
    case PageMaker::Use::Reference:
        m_references[key(m_source)].insert(key(value));
        if (!m_firstReference.contains(key(m_source)))
            m_firstReference.insert(key(m_source), line);
        break;
    case PageMaker::Use::MissingReference:
        m_missingReference = value;
        break;
    case PageMaker::Use::Picture:
        m_pictures.append(UsedPicture{value, line});
        break;
    case PageMaker::Use::ButtonText: {
        const TextBox& box = m_buttonBox[m_pageType == QLatin1String("#root") ? 0 : 1];
        if (TextFit::mayNotFit(value, box))
            add(line, FindingKind::MayNotFit, QStringLiteral("Button text may not fit: ") + value);
        break;
    }
    case PageMaker::Use::TitleText:
        if (const auto box = m_titleBox.constFind(m_pageType);
            box != m_titleBox.cend() && TextFit::mayNotFit(value, *box))
            add(line, FindingKind::MayNotFit, QStringLiteral("Title may not fit: ") + value);
        else if (m_pageType == QLatin1String("#selector") && TextFit::mayNotFit(value, m_enlargedSelectorTitleBox))
            add(line, FindingKind::CutOffEnlarged, QStringLiteral("Title may be cut off at 200 % text size: ") + value);
        break;
    case PageMaker::Use::ItemText:
        if (TextFit::mayNotFit(value, m_itemBox))
            add(line, FindingKind::MayNotFit, QStringLiteral("Item text may not fit: ") + value);
        else if (TextFit::mayNotFit(value, m_enlargedItemBox))
            add(line, FindingKind::CutOffEnlarged,
                QStringLiteral("Item text may be cut off at 200 % text size: ") + value);
        break;
    case PageMaker::Use::PictureWithoutText:
        add(line, FindingKind::NoTextAlternative,
            QStringLiteral("Picture without a text alternative (#alt): ") + value);
        break;
    }
}

// A page is out of date when one of its three made files is missing, or when
// a make would change one of them (the dry run's bytes differ from the file's)
// or one of its picture copies (their copy records say so).
void KioskCheck::checkMadePage(const QString& pageSource)
{
    const QFileInfo source(pageSource);
    if (m_judgeMadeFiles) {
        const QString base = source.absolutePath() + QDir::separator() + source.completeBaseName();
        for (const char* suffix : {".htm", "_con.htm", "_nav.htm"}) {
            if (!QFileInfo::exists(base + QString::fromLatin1(suffix))) {
                add(1, FindingKind::OutOfDate, QStringLiteral("Page has never been made"));
                return;
            }
        }
        const QStringList changed = m_maker->filesThatWouldChange();
        if (!changed.isEmpty())
            add(1, FindingKind::OutOfDate,
                QStringLiteral("Page would change if made now (") + changed.join(QStringLiteral(", ")) + u')');
    }
    for (const ChangedCopy& copy : std::as_const(m_changedCopies))
        add(copy.line, FindingKind::OutOfDate, copy.text);
    // A time stamp ahead of the clock (a file from a machine whose clock runs
    // ahead) makes every copy record distrust the file: say so, since making
    // cannot clear it.
    const QDateTime now = QDateTime::currentDateTime().addSecs(2);
    const auto future = [&](int line, const QString& what, const QFileInfo& file) {
        if (file.lastModified() > now)
            add(line, FindingKind::OutOfDate, what + QStringLiteral(" has a time stamp in the future"));
    };
    future(1, QStringLiteral("Page source"), source);
    for (const UsedPicture& picture : std::as_const(m_pictures)) {
        const QFileInfo file(picture.path);
        future(picture.line, QStringLiteral("Picture ") + file.fileName(), file);
    }
}

// Every page no chain of references leads to from root\root.zel, once each.
void KioskCheck::addUnreachablePages()
{
    const QString& root = m_rootPage;
    QSet<QString> reached;
    QStringList pending;
    if (m_references.contains(root)) {
        reached.insert(root);
        pending.append(root);
    }
    while (!pending.isEmpty()) {
        const QString page = pending.takeLast();
        for (const QString& target : m_references.value(page)) {
            if (m_references.contains(target) && !reached.contains(target)) {
                reached.insert(target);
                pending.append(target);
            }
        }
    }
    for (const QString& page : m_pages) {
        if (reached.contains(key(page)))
            continue;
        m_findings.append(
            Finding{page, 1, FindingKind::Unreachable, QStringLiteral("Page cannot be reached from the root page")});
    }
}
