// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One page's source reader, place and files, shared by its builders.
#include "maker/page_output.h"

#include "maker/line_problem.h"
#include "maker/output_folders.h"
#include "maker/page_reference.h"

#include "base/blanks.h"
#include "config/kiosk_system.h"
#include "pages/page_paths.h"
#include "platform/session.h"
#include "text/text_codec.h"
#include "text/text_files.h"

#include <QCoreApplication>
#include <QDir>

PageOutput::Place PageOutput::placeOf(const QString& sourcePath, const MakeContext& make)
{
    Place place;
    QString drive;
    QString extension;
    PagePaths::splitFilePath(sourcePath, drive, place.folderPath, place.pageName, extension);
    place.contentFileName = place.pageName + QStringLiteral("_con.htm");
    place.navigationFileName = place.pageName + QStringLiteral("_nav.htm");
    place.mainFileName = place.pageName + QStringLiteral(".htm");
    if (make.writeOutput)
        make.folders.prepared(place.folderPath);
    return place;
}

PageOutput::PageOutput(const QString& sourcePath, const QStringList& lines, const MakeContext& make)
    : m_make(make), m_reader(sourcePath, lines, make.kiosk.session()), m_place(placeOf(sourcePath, make)),
      m_contentFile(openOutput(m_place.contentFileName)), m_navigationFile(openOutput(m_place.navigationFileName)),
      m_mainFile(openOutput(m_place.mainFileName)), m_schedule(PageSchedule::ofLines(lines, &m_scheduleErrors))
{}

Session& PageOutput::session() const { return m_make.kiosk.session(); }

TextFiles::OutputFile PageOutput::openOutput(const QString& fileName) const
{
    return TextFiles::OutputFile(m_place.folderPath + QDir::separator() + fileName,
                                 TextFiles::Encoding::Windows1252References, m_make.kiosk.session().fileFaults());
}

void PageOutput::makeError(const QString& message, Problem::Kind kind)
{
    reportLineProblem(m_make.problems, kind, message, m_reader.place());
}

bool PageOutput::keepPictureText(const QString& directive)
{
    if (directive == QLatin1String("image") || directive == QLatin1String("item") || directive.isEmpty()
        || directive == QLatin1String("IGNORE"))
        return false;
    dropPictureText();
    if (directive != QLatin1String("alt"))
        return false;
    m_pictureText = trimBlanks(m_reader.directiveArguments());
    m_pictureTextPlace = m_reader.place();
    return true;
}

bool PageOutput::takeShowLine(const QString& directive)
{
    if (directive != QLatin1String("show"))
        return false;
    if (m_root) {
        makeError(QCoreApplication::translate("PageMaker",
                                              "show directive is not for the root page, which is always on show"));
        return true;
    }
    for (const PageSchedule::LineError& error : std::as_const(m_scheduleErrors))
        if (error.line == m_reader.lineNumber())
            makeError(
                QCoreApplication::translate("PageMaker", "Invalid show directive - %1 - the page is always on show")
                    .arg(error.message),
                Problem::Kind::InvalidTime);
    return true;
}

void PageOutput::dropPictureText()
{
    if (m_pictureText)
        reportLineProblem(m_make.problems, Problem::Kind::FaultyLine,
                          QStringLiteral("alt directive must come right before an image or item directive"),
                          m_pictureTextPlace);
    m_pictureText.reset();
}

QString PageOutput::pageRefToURL(const QString& pageReference, QString* show)
{
    QString target;
    const QString url = ::pageRefToURL(pageReference, m_place.folderPath, m_make.kiosk.folder(), m_make.use,
                                       m_make.problems, m_reader.place(), &target);
    if (show) {
        show->clear();
        QByteArray bytes;
        if (!target.isEmpty() && TextFiles::readAuthorFile(target, bytes).isEmpty()) {
            const QStringList lines = TextCodec::splitLines(TextCodec::decode(bytes));
            if (!lines.isEmpty() && PageTypes::pageTypeOfLine(lines.front()) != PageType::Root)
                *show = PageSchedule::ofLines(lines).toAttribute();
        }
    }
    return url;
}

std::int16_t PageOutput::item(const QString& name) const { return m_make.kiosk.integerValue(name); }

void PageOutput::commit(fileio::DeferredReplacements* batch)
{
    TextFiles::OutputFile::closeTogether({&m_contentFile, &m_navigationFile, &m_mainFile}, batch);
}

QStringList PageOutput::filesThatWouldChange() const
{
    QStringList names;
    for (const auto& [file, name] : {std::pair{&m_mainFile, &m_place.mainFileName},
                                     {&m_contentFile, &m_place.contentFileName},
                                     {&m_navigationFile, &m_place.navigationFileName}})
        if (!file->targetHolds())
            names.append(*name);
    return names;
}

PagePosition PageOutput::position() const
{
    return PagePosition{m_place.folderPath, m_reader.sourcePath(), m_reader.currentLine(), m_reader.lineNumber()};
}
