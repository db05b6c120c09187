#include "platform/text_files.h"

#include "platform/runtime_error.h"
#include "platform/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <map>
#include <memory>

namespace {

constexpr int kMaxHandles = 511;
constexpr qsizetype kFlushThreshold = 64 * 1024;

struct OpenFile {
    QFile file;
    bool output = false;
    TextFiles::Encoding encoding = TextFiles::Encoding::Utf8;
    QByteArray pendingBytes; // encoded output not yet written
    QString pendingText;     // page-source output, encoded only at close
    QStringList lines;       // input lines
    qsizetype next = 0;
};

std::map<int, std::unique_ptr<OpenFile>>& table()
{
    static std::map<int, std::unique_ptr<OpenFile>> files;
    return files;
}

OpenFile& fileFor(int handle)
{
    auto it = table().find(handle);
    if (it == table().end())
        Errors::raise(52, QStringLiteral("Bad file name or number"));
    return *it->second;
}

void claim(int handle)
{
    if (handle < 1 || handle > kMaxHandles)
        Errors::raise(52, QStringLiteral("Bad file name or number"));
    if (table().count(handle))
        Errors::raise(55, QStringLiteral("File already open"));
}

void writeOut(OpenFile& f)
{
    if (f.encoding == TextFiles::Encoding::PageSource) {
        f.pendingBytes = TextCodec::encodePageSource(f.pendingText);
        f.pendingText.clear();
    }
    if (!f.pendingBytes.isEmpty()) {
        const qint64 written = f.file.write(f.pendingBytes);
        f.pendingBytes.clear();
        if (written < 0)
            Errors::raise(Errors::PathFileAccess);
    }
    f.file.flush();
}

void append(OpenFile& f, QStringView text)
{
    switch (f.encoding) {
    case TextFiles::Encoding::Utf8:
        f.pendingBytes.append(text.toUtf8());
        break;
    case TextFiles::Encoding::Windows1252References:
        TextCodec::appendWindows1252WithReferences(f.pendingBytes, text);
        break;
    case TextFiles::Encoding::PageSource:
        f.pendingText.append(text);
        return;
    }
    if (f.pendingBytes.size() >= kFlushThreshold)
        writeOut(f);
}

OpenFile& outputFile(int handle)
{
    OpenFile& f = fileFor(handle);
    if (!f.output)
        Errors::raise(54, QStringLiteral("Bad file mode"));
    return f;
}

OpenFile& inputFile(int handle)
{
    OpenFile& f = fileFor(handle);
    if (f.output)
        Errors::raise(54, QStringLiteral("Bad file mode"));
    return f;
}

} // namespace

namespace TextFiles {

int freeFile()
{
    for (int h = 1; h <= kMaxHandles; ++h)
        if (!table().count(h))
            return h;
    Errors::raise(67, QStringLiteral("Too many files"));
}

void openForOutput(int handle, const QString& path, Encoding encoding)
{
    claim(handle);
    auto f = std::make_unique<OpenFile>();
    f->output = true;
    f->pendingBytes.reserve(kFlushThreshold + 4096);
    f->encoding = encoding;
    f->file.setFileName(path);
    if (!f->file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const QFileInfo info(path);
        Errors::raise(info.absoluteDir().exists() ? Errors::PathFileAccess : Errors::PathNotFound);
    }
    table()[handle] = std::move(f);
}

void openForInput(int handle, const QString& path)
{
    claim(handle);
    auto f = std::make_unique<OpenFile>();
    f->file.setFileName(path);
    if (!f->file.open(QIODevice::ReadOnly)) {
        const QFileInfo info(path);
        Errors::raise(!info.exists() || info.isDir() ? Errors::FileNotFound : Errors::PathFileAccess);
    }
    // A folder opens for reading on some systems but has no lines to give.
    const QByteArray bytes = f->file.readAll();
    if (f->file.error() != QFileDevice::NoError)
        Errors::raise(QFileInfo(path).isDir() ? Errors::FileNotFound : Errors::PathFileAccess);
    f->lines = TextCodec::splitLines(TextCodec::decode(bytes));
    f->file.close();
    table()[handle] = std::move(f);
}

void printLine(int handle, const QString& text)
{
    OpenFile& f = outputFile(handle);
    append(f, text);
    append(f, u"\r\n");
}

void print(int handle, const QString& text)
{
    append(outputFile(handle), text);
}

void flush(int handle)
{
    writeOut(outputFile(handle));
}

QString lineInput(int handle)
{
    OpenFile& f = inputFile(handle);
    if (f.next >= f.lines.size())
        Errors::raise(62, QStringLiteral("Input past end of file"));
    return f.lines.at(f.next++);
}

bool atEnd(int handle)
{
    const OpenFile& f = inputFile(handle);
    return f.next >= f.lines.size();
}

bool isOpen(int handle)
{
    return table().count(handle) != 0;
}

void close(int handle)
{
    auto it = table().find(handle);
    if (it == table().end())
        return;
    std::unique_ptr<OpenFile> f = std::move(it->second);
    table().erase(it);
    if (f->output) {
        writeOut(*f);
        f->file.close();
    }
}

void closeAll()
{
    while (!table().empty()) {
        const int handle = table().begin()->first;
        try {
            close(handle);
        } catch (const RuntimeError&) {
            // The file is already out of the table; closing the rest matters more.
        }
    }
}

} // namespace TextFiles
