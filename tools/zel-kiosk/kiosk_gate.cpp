// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiosk_gate.h"

#include "check/kiosk_check.h"
#include "imaging/jpeg_decode_check.h"
#include "system/open_kiosk_system.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

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

QStringList missingFiles(const QString& kioskFolder)
{
    static const QRegularExpression attribute(QStringLiteral("\\b(?:src|href)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    const QString top = QDir::cleanPath(QDir(kioskFolder).absolutePath());
    QStringList reasons;
    QSet<QString> judged;
    QDirIterator pages(top, {QStringLiteral("*.htm")}, QDir::Files, QDirIterator::Subdirectories);
    while (pages.hasNext()) {
        const QString page = pages.next();
        QFile file(page);
        if (!pages.fileInfo().isFile() || pages.fileInfo().size() > kLargestPage || !file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto it = attribute.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            QString link = decodedAttribute(match.captured(1) + match.captured(2)).trimmed();
            link = link.left(link.indexOf(QRegularExpression(QStringLiteral("[?#]"))));
            if (link.isEmpty() || scheme.match(link).hasMatch())
                continue;
            link.replace(u'\\', u'/');
            const QString target = QDir::cleanPath(QFileInfo(page).absolutePath() + u'/' + link);
            // Pages outside the folder are the guard's to refuse; links to pages the check's.
            if (!target.startsWith(top + u'/') || link.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive)
                || judged.contains(target))
                continue;
            judged.insert(target);
            const QString shown = QDir::toNativeSeparators(QDir(top).relativeFilePath(page));
            const QFileInfo info(target);
            if (!info.isFile()) {
                reasons.append(shown + QStringLiteral(": ") + link + QStringLiteral(" does not exist"));
                continue;
            }
            const QString suffix = info.suffix().toLower();
            if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
                const QString problem = Jpeg::decodeProblem(target);
                if (!problem.isEmpty())
                    reasons.append(shown + QStringLiteral(": ") + link + QStringLiteral(" is damaged: ") + problem);
            }
        }
    }
    reasons.sort();
    return reasons;
}

Verdict judge(Session& session, const QString& kioskFolder)
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
    KioskCheck check(*kiosk);
    check.run();
    for (const Finding& finding : check.findings())
        if (refuses(finding))
            reasons.append(finding.toLine());
    reasons.append(missingFiles(kioskFolder));
    return verdict;
}

} // namespace KioskGate
