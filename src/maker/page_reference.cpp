// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Page references turned into links.
#include "maker/page_reference.h"

#include "maker/line_problem.h"
#include "maker/maker_module.h"

#include "pages/files.h"
#include "pages/page_paths.h"
#include "pages/page_sources.h"
#include "pages/support.h"
#include "runtime/error_handler.h"

#include <QCoreApplication>

QString pageRefToURL(const QString& pageReference, const QString& pageFolderPath, const QString& kioskFolder,
                     const PageMaker::UseHandler& use, ProblemSink& problems, const ProblemPlace& at, QString* target)
{
    using Use = PageMaker::Use;
    return inProcedure(makerModule(), QStringLiteral("pageRefToURL"), [&] {
        QString url;
        QString checkPath;
        ProblemsAt names(problems, at);
        qsizetype separator = pageReference.indexOf(u'\\');
        if (separator < 0)
            separator = pageReference.indexOf(u'/');
        if (separator < 0) {
            if (Support::isValidPageName(pageReference, names)) {
                url = pageReference + QStringLiteral(".htm");
                checkPath = PageSources::pathOf(pageFolderPath, pageReference);
            } else {
                url = QStringLiteral("..\\missing.html");
            }
        } else {
            const QString folder = pageReference.left(separator);
            const QString page = pageReference.mid(separator + 1);
            const bool folderValid = Support::isValidFolderName(folder, names);
            const bool pageValid = Support::isValidPageName(page, names);
            if (folderValid && pageValid) {
                url = QStringLiteral("..\\") + folder + QStringLiteral("\\") + page + QStringLiteral(".htm");
                checkPath = PageSources::pathOf(kioskFolder + folder, page);
            } else {
                url = QStringLiteral("..\\missing.html");
            }
        }
        if (!checkPath.isEmpty() && use)
            use(Use::Reference, checkPath);
        const bool exists = !checkPath.isEmpty() && Files::fileExists(checkPath);
        if (target)
            *target = exists ? checkPath : QString();
        if (!checkPath.isEmpty() && !exists) {
            if (use)
                use(Use::MissingReference, pageReference);
            reportLineProblem(problems, Problem::Kind::MissingPage,
                              QCoreApplication::translate("PageMaker", "Reference to non-existent page"), at);
        }
        return url;
    });
}
