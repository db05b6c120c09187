// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiosk_gate.h"

#include "gate_inputs.h"
#include "gate_record.h"

#include "check/kiosk_check.h"
#include "imaging/jpeg_decode_check.h"
#include "pages/page_sources.h"
#include "platform/session.h"
#include "system/open_kiosk_system.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace KioskGate {

namespace {

// A made page is small; anything far larger is not one of ours.
constexpr qint64 kLargestPage = 16 * 1024 * 1024;

bool refuses(const Finding& finding)
{
    if (finding.kind == FindingKind::DeadEnd || finding.kind == FindingKind::Picture
        || finding.kind == FindingKind::Unreadable)
        return true;
    // The page's own files; copies a make would redo are still shown right.
    return finding.kind == FindingKind::OutOfDate
           && (finding.text.startsWith(QLatin1String("Page has never been made"))
               || finding.text.startsWith(QLatin1String("Page would change")));
}

QString decodedAttribute(QString value)
{
    value.replace(QLatin1String("&quot;"), QLatin1String("\""));
    value.replace(QLatin1String("&#39;"), QLatin1String("'"));
    value.replace(QLatin1String("&lt;"), QLatin1String("<"));
    value.replace(QLatin1String("&gt;"), QLatin1String(">"));
    value.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return value;
}

} // namespace

QString rootPage(const QString& kioskFolder)
{
    return QDir(kioskFolder).absoluteFilePath(QStringLiteral("root/root.htm"));
}

namespace {

// The files within top a made page names, each once in the order it first
// names them, and what is wrong with each.
QList<GateRecord::Named> namedFiles(const QString& page, GateInputs& inputs)
{
    static const QRegularExpression attribute(QStringLiteral("\\b(?:src|href)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    const QString top = inputs.top();
    QList<GateRecord::Named> named;
    const QFileInfo info(page);
    QFile file(page);
    if (!info.isFile() || info.size() > kLargestPage || !file.open(QIODevice::ReadOnly))
        return named;
    const QString text = QString::fromUtf8(file.readAll());
    const QString shown = QDir::toNativeSeparators(QDir(top).relativeFilePath(page));
    QSet<QString> seen;
    for (auto it = attribute.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        QString link = decodedAttribute(match.captured(1) + match.captured(2)).trimmed();
        link = link.left(link.indexOf(QRegularExpression(QStringLiteral("[?#]"))));
        if (link.isEmpty() || scheme.match(link).hasMatch())
            continue;
        link.replace(u'\\', u'/');
        const QString target = QDir::cleanPath(info.absolutePath() + u'/' + link);
        // Pages outside the folder are the guard's to refuse; links to pages the check's.
        if (!target.startsWith(top + u'/') || link.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive)
            || seen.contains(target))
            continue;
        seen.insert(target);
        GateRecord::Named entry{inputs.relative(target), QString(), QString()};
        const QFileInfo targetInfo(target);
        if (!targetInfo.isFile()) {
            entry.reason = shown + QStringLiteral(": ") + link + QStringLiteral(" does not exist");
        } else if (const QString suffix = targetInfo.suffix().toLower();
                   suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
            const QString problem = Jpeg::decodeProblem(target);
            if (!problem.isEmpty())
                entry.reason = shown + QStringLiteral(": ") + link + QStringLiteral(" is damaged: ") + problem;
        }
        named.append(entry);
    }
    return named;
}

bool isHash(const QString& value) { return value.size() == 64; }

QStringList missingFiles(GateInputs& inputs, const GateRecord* before, GateRecord* after)
{
    const bool recording = before || after;
    QStringList reasons;
    QSet<QString> judged;
    QDirIterator pages(inputs.top(), {QStringLiteral("*.htm")}, QDir::Files, QDirIterator::Subdirectories);
    while (pages.hasNext()) {
        const QString page = pages.next();
        const QString path = inputs.relative(page);
        const QString value = recording ? inputs.value(GateInputs::file(path)) : QString();
        const auto known = before ? before->madePages.constFind(path) : GateRecord::MadePages::const_iterator();
        QList<GateRecord::Named> named;
        if (before && known != before->madePages.cend() && known->value == value
            && std::all_of(known->named.cbegin(), known->named.cend(), [&](const GateRecord::Named& file) {
                   return inputs.value(GateInputs::file(file.path)) == file.value;
               })) {
            named = known->named;
        } else {
            named = namedFiles(page, inputs);
            if (recording)
                for (GateRecord::Named& file : named)
                    file.value = inputs.value(GateInputs::file(file.path));
        }
        if (after && isHash(value))
            after->madePages.insert(path, {value, named});
        for (const GateRecord::Named& file : std::as_const(named)) {
            if (judged.contains(file.path))
                continue;
            judged.insert(file.path);
            if (!file.reason.isEmpty())
                reasons.append(file.reason);
        }
    }
    reasons.sort();
    return reasons;
}

// What a page's judgement read, in the folder's terms; false when it read
// something the record cannot name (outside the folder, or a picture not
// found, whose name may have been looked for anywhere).
bool pageInputs(const QString& page, const QSet<QString>& references, const QStringList& pictures,
                const QList<Finding>& findings, GateInputs& inputs, GateRecord::Page& entry)
{
    bool named = true;
    const auto inside = [&](const QString& path) {
        const QString relative = inputs.relative(path);
        named = named && !relative.isEmpty();
        return relative;
    };
    const auto add = [&](const QString& key) { entry.inputs.insert(key, inputs.value(key)); };
    const QFileInfo source(page);
    add(GateInputs::file(inside(page)));
    const QString made = source.absolutePath() + u'/' + source.completeBaseName();
    for (const char* suffix : {".htm", "_con.htm", "_nav.htm"})
        add(GateInputs::file(inside(made + QString::fromLatin1(suffix))));
    // Such a page's made files may be another page's.
    const QString name = PageSources::pageNameOf(source.fileName());
    if (name.endsWith(QLatin1String("_con")) || name.endsWith(QLatin1String("_nav")))
        add(GateInputs::sources(inside(source.absolutePath())));
    // A reference is to "PAGE.zel" while that is a file; else to the page
    // source its folder's list gives, or none.
    for (const QString& reference : references) {
        const QString file = GateInputs::file(inside(reference));
        add(file);
        if (!reference.endsWith(QLatin1String(".zel")) || !isHash(entry.inputs.value(file)))
            add(GateInputs::sources(inside(QFileInfo(reference).absolutePath())));
    }
    // A picture's name is matched folder by folder, ignoring letter case.
    for (const QString& picture : pictures) {
        add(GateInputs::file(inside(picture)));
        add(GateInputs::names(inside(QFileInfo(picture).absolutePath())));
        add(GateInputs::folders());
    }
    for (const Finding& finding : findings) {
        named = named && finding.kind != FindingKind::Picture;
        entry.findings.append(Finding{GateRecord::marked(finding.pageSource, inputs.top()), finding.line, finding.kind,
                                      GateRecord::marked(finding.text, inputs.top())});
    }
    return named;
}

} // namespace

QStringList missingFiles(const QString& kioskFolder, const GateRecord* before, GateRecord* after)
{
    GateInputs inputs(kioskFolder);
    return missingFiles(inputs, before, after);
}

Verdict judge(Session& session, const QString& kioskFolder, const GateRecord* before, GateRecord* after)
{
    Verdict verdict;
    QStringList& reasons = verdict.reasons;
    const QString root = rootPage(kioskFolder);
    if (!QFileInfo(root).isFile())
        reasons.append(QStringLiteral("the root page ") + QDir::toNativeSeparators(root)
                       + QStringLiteral(" does not exist"));
    const std::unique_ptr<KioskSystem> kiosk =
        openKioskSystemHeadless(session, QDir(kioskFolder).absolutePath(), false);
    verdict.screens = kiosk->integerValue(QStringLiteral("screens"));
    GateInputs inputs(kioskFolder);
    const QString top = inputs.top();
    // A configuration that moves the kiosk system elsewhere: nothing taken over or recorded.
    const bool recordable = (before || after) && QDir::cleanPath(kiosk->folder()) == top;
    if (recordable && before)
        inputs.setKnown(before->files);
    const QString global = recordable ? inputs.global(session.imageTool().program) : QString();
    if (before && (!recordable || before->global != global))
        before = nullptr;
    if (after) {
        *after = GateRecord();
        after->global = global;
    }

    KioskCheck check(*kiosk);
    QList<Finding> refusing;
    check.setSkip([&](const QString& page) {
        if (!before)
            return false;
        const QString path = inputs.relative(page);
        const auto known = before->pages.constFind(path);
        if (path.isEmpty() || known == before->pages.cend() || !inputs.unchanged(known->inputs))
            return false;
        for (const Finding& finding : known->findings)
            refusing.append(Finding{GateRecord::unmarked(finding.pageSource, top), finding.line, finding.kind,
                                    GateRecord::unmarked(finding.text, top)});
        if (after)
            after->pages.insert(path, *known);
        return true;
    });
    QHash<QString, QStringList> picturesOf;
    check.setPageRead([&](const QString& page, const QStringList& pictures) {
        ++verdict.pagesRead;
        if (recordable && after)
            picturesOf.insert(page, pictures);
    });
    check.run();
    QHash<QString, QList<Finding>> refusingOf;
    for (const Finding& finding : check.findings()) {
        if (!refuses(finding))
            continue;
        refusing.append(finding);
        refusingOf[finding.pageSource].append(finding);
    }
    for (auto page = picturesOf.cbegin(); page != picturesOf.cend(); ++page) {
        GateRecord::Page entry;
        if (pageInputs(page.key(), check.referencesOf(page.key()), page.value(), refusingOf.value(page.key()), inputs,
                       entry))
            after->pages.insert(inputs.relative(page.key()), entry);
    }
    // In the check's order, the pages taken over among those read.
    sortFindings(refusing);
    for (const Finding& finding : std::as_const(refusing))
        reasons.append(finding.toLine());
    reasons.append(missingFiles(inputs, before, recordable ? after : nullptr));
    if (recordable && after)
        after->files = inputs.files();
    return verdict;
}

} // namespace KioskGate
