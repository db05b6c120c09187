#include "check/finding.h"

#include <QMap>
#include <algorithm>

QString Finding::toLine() const
{
    return pageSource + u':' + QString::number(line) + QStringLiteral(": ") + kind + QStringLiteral(": ") + text;
}

QList<QString> FindingKind::all()
{
    return {DeadEnd, FaultyLine, Picture, OutOfDate, Unreachable, MayNotFit, Unreadable};
}

void sortFindings(QList<Finding>& findings)
{
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        if (a.pageSource != b.pageSource)
            return a.pageSource < b.pageSource;
        return a.line < b.line;
    });
}

QString countLine(int pagesChecked, const QList<Finding>& findings)
{
    QString line = QStringLiteral("Checked %1 page%2: ").arg(pagesChecked).arg(pagesChecked == 1 ? "" : "s");
    if (findings.isEmpty())
        return line + QStringLiteral("no findings");
    QMap<QString, int> byKind;
    for (const Finding& finding : findings)
        ++byKind[finding.kind];
    QStringList parts;
    for (const QString& kind : FindingKind::all())
        if (byKind.value(kind) > 0)
            parts.append(QString::number(byKind.value(kind)) + u' ' + kind);
    return line + QString::number(findings.size())
           + (findings.size() == 1 ? QStringLiteral(" finding (") : QStringLiteral(" findings ("))
           + parts.join(QStringLiteral(", ")) + u')';
}
