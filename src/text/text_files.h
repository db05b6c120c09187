// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <QFile>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace fileio {
class DeferredReplacements;
}

// Text files reached through numbered handles of a table: a handle is taken
// with freeFile(), opened, used and closed; closeAll() closes every file still
// open (shutdown and the fatal report use it on the session's table).
//
// Output lines end with CR LF. Input accepts CR LF, LF or CR and decodes
// UTF-8, falling back to Windows-1252 (see TextCodec::decode).
namespace TextFiles {

struct NumberedFile; // one open numbered file (text_files.cpp)

enum class Encoding {
    Utf8,                  // the log
    Windows1252References, // generated HTML: Windows-1252, other characters as &#N;
    PageSource,            // Windows-1252 when every character fits, else UTF-8
};

// Larger input files are refused.
constexpr qint64 kMaximumInputSize = 64 * 1024 * 1024;

// Why path cannot be read as a text file: "is a folder", "is not a regular
// file" (a FIFO, device or socket would block or never end, also through a
// link), "is larger than 64 MB", or the system's reason ("No such file or
// directory"); "" when it can. Only looks: what reads the file must still
// take readAuthorFile's reason, since the file may change in between.
QString unreadableReason(const QString& path);

// The one way an author's file (a page source, a picture, a file of the
// kiosk system) is read whole: a regular file, also through a link, of at
// most maximumSize bytes, never waited on (see fileio::readRegularFile).
// Returns "" with bytes holding the file, else the reason as
// unreadableReason gives it, bytes empty.
QString readAuthorFile(const QString& path, QByteArray& bytes, qint64 maximumSize = kMaximumInputSize);

// Opens an author's file for reading as it goes (a picture: no size limit),
// checked as readAuthorFile checks it. Returns "" with file open, else the
// reason, file closed.
QString openAuthorFile(const QString& path, QFile& file);

// The reason as it follows a file's name in a message: "is ..." as it is,
// a system's reason as "cannot be read (No such file or directory)".
QString afterFileName(const QString& reason);

// One set of numbered files (a session's: see Session::textFiles). When it
// goes, files being replaced are dropped and the others closed.
class Table {
public:
    // Files are written with the file faults given (not owned; nullptr never fails).
    explicit Table(const fileio::FailureHook* faults = nullptr);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // The lowest handle not in use (1 upwards). Raises 67 "Too many files" when none is left.
    int freeFile() const;

    // Creates or replaces the file. Nothing is written until close(), which
    // replaces the file atomically (closeAll() drops it instead, leaving the old
    // file). A missing folder raises Path not found (76); a write failure raises
    // Disk full (61) or Path/File access error (75) naming the path and reason.
    // The handle must be free.
    void openForOutput(int handle, const QString& path, Encoding encoding);
    // Creates a new file, never an existing one or a link, written as it goes
    // (for the log). Returns false when the name exists.
    bool openNewForOutput(int handle, const QString& path, Encoding encoding);

    // Opens an existing file for reading, read whole at once (readAuthorFile).
    // A missing file or a folder raises File not found (53); a FIFO, device or
    // socket, a file above kMaximumInputSize or a failed read raises Path/File
    // access error (75) naming the path and the reason.
    void openForInput(int handle, const QString& path);

    // Writes text followed by CR LF.
    void printLine(int handle, const QString& text);
    // Writes text without a line end, so the next write continues the same line.
    void print(int handle, const QString& text);
    // Writes buffered output of a file made by openNewForOutput to disk now.
    void flush(int handle);

    // Reads the next line without its line end. Raises 62 "Input past end of file" at the end.
    QString lineInput(int handle);
    bool atEnd(int handle) const;

    bool isOpen(int handle) const;
    // Closes the file; output is written out. Closing a handle that is not open does nothing.
    void close(int handle);
    // Closes replaced files as one step: all are written and synced, then renamed.
    // With batch, they are written now and synced and renamed by batch->commit().
    void closeTogether(const std::vector<int>& handles, fileio::DeferredReplacements* batch = nullptr);
    // Closes without writing: a replaced file keeps its old content.
    void discard(int handle);
    // True when the target of a replaced output file already holds exactly what
    // closing it now would write (a regular file, not a link). Only reads.
    bool targetHolds(int handle) const;
    // Closes every file; files being replaced are dropped, not written.
    void closeAll();

    // Closes a replaced output file without writing it and returns what closing
    // would have written where (nothing for a file not replaced as a whole).
    std::optional<fileio::FileContent> takeReplacement(int handle);

    const fileio::FailureHook* faults() const { return m_faults; }

private:
    NumberedFile& fileFor(int handle) const;
    NumberedFile& outputFile(int handle) const;
    NumberedFile& inputFile(int handle) const;
    void claim(int handle) const;
    std::unique_ptr<NumberedFile> take(int handle);
    void writeOut(NumberedFile& file) const;
    void append(NumberedFile& file, QStringView text) const;

    std::map<int, std::unique_ptr<NumberedFile>> m_files;
    const fileio::FailureHook* m_faults;
};

// Puts the files in place as one step: staged in batch when there is one,
// else replaced now with the file faults given.
void replaceTogether(const std::vector<fileio::FileContent>& contents, fileio::DeferredReplacements* batch,
                     const fileio::FailureHook* faults);

} // namespace TextFiles
