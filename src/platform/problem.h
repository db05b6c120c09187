// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <utility>

class MessageBoxes;
class Session;

// Where in a page source a problem lies: the page source, the 1-based line
// (0 for none) and that line as written.
struct ProblemPlace {
    QString pageSource;
    int line = 0;
    QString lineText;
};

// One thing wrong with what the author gave that the work reports and goes on
// past: a faulty page source line, a picture that cannot be used, a reference
// to a page that does not exist, a name against the name rule, a page source
// that is not made, a kiosk system folder that is missing or moved. Whoever
// starts the work hands in the sink that receives them (ProblemSink): a
// message box each in the desktop program, standard error in zel-make, a
// finding each in the kiosk check.
struct Problem {
    enum class Kind {
        FaultyLine,     // a page source line the maker cannot follow
        MissingPage,    // a reference to a page source that does not exist
        MissingPicture, // a picture that does not exist
        NotJpeg,        // a picture whose name is not that of a JPEG file
        PictureFile,    // a picture that is not a regular file of a sane size
        PictureSize,    // a picture whose size cannot be read, or no box to fit it in
        PictureCopy,    // a copy the image tool could not resample, or a tool that cannot start
        RefusedPage,    // a page source that is not made at all
        BadName,        // a folder or page name against the name rule
        KioskFolder,    // the kiosk system folder missing, or moved by configuration.txt
        InvalidTime,    // a #show line whose dates or times cannot be read
    };

    Kind kind = Kind::FaultyLine;
    ProblemPlace place; // no page source when it is about none
    QString message;    // what the author is told, without the line
    // Whether the text shown names the line and the page source after the message.
    bool showsLine = false;

    // The message; for a problem that shows its line, followed by CR LF
    // "In line - " + the line, CR LF "In file - " + the page source.
    QString text() const;
};

// Where a piece of work reports its problems. The caller hands it in.
class ProblemSink {
public:
    virtual ~ProblemSink() = default;
    virtual void report(const Problem& problem) = 0;
};

// Shows each problem's text in a message box (no icon).
class ProblemBoxes : public ProblemSink {
public:
    explicit ProblemBoxes(MessageBoxes& boxes) : m_boxes(boxes) {}
    void report(const Problem& problem) override;

private:
    MessageBoxes& m_boxes;
};

// The same, in the message boxes the session has when the problem is reported
// (a dialog that lives across a change of the session's boxes).
class SessionProblems : public ProblemSink {
public:
    explicit SessionProblems(Session& session) : m_session(session) {}
    void report(const Problem& problem) override;
    // How many problems were reported since the count was last reset.
    int reportedCount() const { return m_reported; }
    void resetCount() { m_reported = 0; }

private:
    Session& m_session;
    int m_reported = 0;
};

// Passes problems on to another sink, placing a problem that names no page
// source where this one is made for.
class ProblemsAt : public ProblemSink {
public:
    ProblemsAt(ProblemSink& to, ProblemPlace place) : m_to(to), m_place(std::move(place)) {}
    void report(const Problem& problem) override;

private:
    ProblemSink& m_to;
    ProblemPlace m_place;
};
