#include "kiosk_gate.h"

#include "app/core/open_kiosk_system.h"
#include "check/kiosk_check.h"

#include <QDir>
#include <QFileInfo>

namespace KioskGate {

QString rootPage(const QString& kioskFolder)
{
    return QDir(kioskFolder).absoluteFilePath(QStringLiteral("root/root.htm"));
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
        if (finding.kind == FindingKind::DeadEnd)
            reasons.append(finding.toLine());
    return verdict;
}

} // namespace KioskGate
