#pragma once

#include "platform/text_files.h"

#include <QString>
#include <initializer_list>

namespace fileio {
class DeferredReplacements;
}

namespace TextFiles {

// A text file open on a free handle of its own for as long as the object
// lives. When it goes, its handle is given back; an output file that was not
// closed by then is dropped, so a file it was replacing keeps its old content.
class OpenFile {
public:
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile();

    int handle() const { return m_handle; }

protected:
    OpenFile() = default;

    int m_handle = 0; // 0 once closed
};

// A file read line by line (TextFiles::openForInput).
class InputFile : public OpenFile {
public:
    explicit InputFile(const QString& path);

    QString lineInput() { return TextFiles::lineInput(m_handle); }
    bool atEnd() const { return TextFiles::atEnd(m_handle); }
};

// A file created or replaced as a whole (TextFiles::openForOutput).
class OutputFile : public OpenFile {
public:
    OutputFile(const QString& path, Encoding encoding);

    void printLine(const QString& text) { TextFiles::printLine(m_handle, text); }
    void print(const QString& text) { TextFiles::print(m_handle, text); }
    // Whether the file on disk already holds what closing would write (TextFiles::targetHolds).
    bool targetHolds() const { return TextFiles::targetHolds(m_handle); }

    // Writes the files and puts them in place as one step (TextFiles::closeTogether).
    static void closeTogether(std::initializer_list<OutputFile*> files, fileio::DeferredReplacements* batch);
};

} // namespace TextFiles
