// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/text_files.h"

#include <QString>
#include <initializer_list>

namespace fileio {
class DeferredReplacements;
}

namespace TextFiles {

// A text file open for as long as the object lives, in a table of its own
// (no session's numbered handles are taken). When it goes, an output file
// that was not closed by then is dropped, so a file it was replacing keeps
// its old content.
class OpenFile {
public:
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile();

    // The file's handle in its own table (always the same).
    int handle() const { return kHandle; }

protected:
    explicit OpenFile(const fileio::FailureHook* faults = nullptr) : m_table(faults) {}

    static constexpr int kHandle = 1;
    Table m_table;
};

// A file read line by line (see Table::openForInput).
class InputFile : public OpenFile {
public:
    explicit InputFile(const QString& path);

    QString lineInput() { return m_table.lineInput(kHandle); }
    bool atEnd() const { return m_table.atEnd(kHandle); }
};

// A file created or replaced as a whole (see Table::openForOutput).
class OutputFile : public OpenFile {
public:
    // Closing writes with the file faults given (not owned; nullptr never fails).
    OutputFile(const QString& path, Encoding encoding, const fileio::FailureHook* faults = nullptr);

    void printLine(const QString& text) { m_table.printLine(kHandle, text); }
    void print(const QString& text) { m_table.print(kHandle, text); }
    // Whether the file on disk already holds what closing would write (Table::targetHolds).
    bool targetHolds() const { return m_table.targetHolds(kHandle); }

    // Writes the file and puts it in place (see Table::close).
    void close() { m_table.close(kHandle); }
    // Writes the files and puts them in place as one step: staged in batch,
    // or (without one) replaced now with the first file's faults.
    static void closeTogether(std::initializer_list<OutputFile*> files, fileio::DeferredReplacements* batch);
};

} // namespace TextFiles
