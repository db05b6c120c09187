// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "maker/directive_reader.h"
#include "maker/make_context.h"
#include "maker/page_position.h"
#include "pages/page_schedule.h"
#include "text/open_text_file.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>

namespace fileio {
class DeferredReplacements;
}

// What every builder of one page writes to and reads from: the page source
// (its reader), the page's place, its three HTML files (main frameset,
// "_con.htm" content, "_nav.htm" navigation bar), its title and the make it
// belongs to. Constructing it opens the page source, makes the page folder
// ready when the make writes files, and opens the three files; what is not
// committed when it goes is dropped and the page keeps its previous files.
class Session;

class PageOutput {
public:
    using Use = PageMaker::Use;

    // The page folder, the page name and the names of the page's three files.
    struct Place {
        QString folderPath;
        QString pageName;
        QString contentFileName;
        QString navigationFileName;
        QString mainFileName;
    };

    // lines are the page source's (see PageBuilder).
    PageOutput(const QString& sourcePath, const QStringList& lines, const MakeContext& make);
    PageOutput(const PageOutput&) = delete;
    PageOutput& operator=(const PageOutput&) = delete;

    const MakeContext& make() const { return m_make; }
    // The session of the make, which its error path reports through.
    Session& session() const;
    DirectiveReader& reader() { return m_reader; }
    const DirectiveReader& reader() const { return m_reader; }
    const Place& place() const { return m_place; }

    TextFiles::OutputFile& contentFile() { return m_contentFile; }
    TextFiles::OutputFile& navigationFile() { return m_navigationFile; }
    TextFiles::OutputFile& mainFile() { return m_mainFile; }
    void writeContent(const QString& line)
    {
        tellUse(Use::ContentLine, line);
        m_contentFile.printLine(line);
    }
    void writeNavigation(const QString& line) { m_navigationFile.printLine(line); }

    // The page's title as the #title directive set it ("" before), HTML-escaped.
    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

    // Reads the lines after the page-type line and hands each line's
    // directive (DirectiveReader::getDirective) to dispatch.
    // An #alt line is kept here for the picture after it (takePictureText).
    template <class Dispatch>
    void readDirectives(Dispatch&& dispatch)
    {
        while (m_reader.nextLine()) {
            const QString directive = m_reader.getDirective();
            if (!keepPictureText(directive) && !takeShowLine(directive))
                dispatch(directive);
        }
        dropPictureText();
    }

    // The text alternative the #alt line right before the current #image or
    // #item gave its picture (none without one; "" for a picture the author
    // marked as decoration with an empty #alt).
    std::optional<QString> takePictureText() { return std::exchange(m_pictureText, std::nullopt); }

    void tellUse(Use use, const QString& value) const
    {
        if (m_make.use)
            m_make.use(use, value);
    }
    // Reports a problem with the current line of the page source.
    void makeError(const QString& message, Problem::Kind kind = Problem::Kind::FaultyLine);
    // The link of a page reference on the current line (see pageRefToURL);
    // show receives the schedule of the page it leads to (PageSchedule::toAttribute).
    QString pageRefToURL(const QString& pageReference, QString* show = nullptr);

    // When the page is on show, from its #show lines (read before the rest
    // of the page); always for a root page.
    const PageSchedule& schedule() const { return m_schedule; }
    void setRoot()
    {
        m_schedule = PageSchedule();
        m_root = true;
    }
    // The number of a configuration item of the kiosk system.
    std::int16_t item(const QString& name) const;

    // Writes the three files and puts them in place; with batch, they are
    // staged there and put in place by batch->commit().
    void commit(fileio::DeferredReplacements* batch);
    // The names of the page's files (main, content, navigation) that do not
    // yet hold what commit() would write. Only reads.
    QStringList filesThatWouldChange() const;
    PagePosition position() const;

private:
    static Place placeOf(const QString& sourcePath, const MakeContext& make);
    // Keeps an #alt line's text (true), or reports one that no picture
    // follows before the line of directive.
    bool keepPictureText(const QString& directive);
    // Takes a #show line (true), reporting it when it is wrong or on a root page.
    bool takeShowLine(const QString& directive);
    void dropPictureText();
    TextFiles::OutputFile openOutput(const QString& fileName) const;

    // Made in this order: the page source opened, the page folder made ready,
    // the content, navigation and main files opened.
    const MakeContext& m_make;
    std::optional<QString> m_pictureText;
    ProblemPlace m_pictureTextPlace;
    DirectiveReader m_reader;
    const Place m_place;
    TextFiles::OutputFile m_contentFile;
    TextFiles::OutputFile m_navigationFile;
    TextFiles::OutputFile m_mainFile;
    QString m_title;
    QList<PageSchedule::LineError> m_scheduleErrors;
    PageSchedule m_schedule;
    bool m_root = false;
};
