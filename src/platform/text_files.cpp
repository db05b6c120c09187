#include "platform/text_files.h"

#include "fileio/deferred_replacements.h"
#include "fileio/regular_file.h"

#include "platform/line_end.h"
#include "platform/runtime_error.h"
#include "platform/session.h"
#include "platform/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <cerrno>
#include <map>
#include <unistd.h>
#include <utility>
#include <vector>
#include <memory>

namespace TextFiles {
struct NumberedFile {
    QFile file;
    bool output = false;
    std::string target;  // replaced as a whole at close
    int descriptor = -1; // a new file written as it goes (the log)
    TextFiles::Encoding encoding = TextFiles::Encoding::Utf8;
    QByteArray pendingBytes; // encoded output not yet written
    QString pendingText;     // page-source output, encoded only at close
    QStringList lines;       // input lines
    qsizetype next = 0;
};

} // namespace TextFiles

namespace {

using TextFiles::NumberedFile;

constexpr int kMaxHandles = 511;
constexpr qsizetype kFlushThreshold = 64 * 1024;

std::map<int, std::unique_ptr<NumberedFile>>& table() { return Session::current().textFiles().files; }

const fileio::FailureHook* fileFaults() { return Session::current().fileFaults(); }

NumberedFile& fileFor(int handle)
{
    auto it = table().find(handle);
    if (it == table().end())
        Errors::raise(Errors::BadFileNameOrNumber);
    return *it->second;
}

void claim(int handle)
{
    if (handle < 1 || handle > kMaxHandles)
        Errors::raise(Errors::BadFileNameOrNumber);
    if (table().count(handle))
        Errors::raise(Errors::FileAlreadyOpen);
}

// Streamed files write what is pending; replaced files keep everything until close.
void writeOut(NumberedFile& f)
{
    if (f.descriptor < 0 || f.pendingBytes.isEmpty())
        return;
    const QByteArray bytes = std::exchange(f.pendingBytes, QByteArray());
    Errors::translatingFileErrors([&] {
        fileio::writeAll(f.descriptor, std::string_view(bytes.constData(), size_t(bytes.size())), f.target,
                         fileFaults());
    });
}

QByteArray finalBytes(NumberedFile& f)
{
    if (f.encoding == TextFiles::Encoding::PageSource)
        return TextCodec::encodePageSource(f.pendingText);
    return f.pendingBytes;
}

void append(NumberedFile& f, QStringView text)
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
    if (f.descriptor >= 0 && f.pendingBytes.size() >= kFlushThreshold)
        writeOut(f);
}

NumberedFile& outputFile(int handle)
{
    NumberedFile& f = fileFor(handle);
    if (!f.output)
        Errors::raise(Errors::BadFileMode);
    return f;
}

NumberedFile& inputFile(int handle)
{
    NumberedFile& f = fileFor(handle);
    if (f.output)
        Errors::raise(Errors::BadFileMode);
    return f;
}

std::unique_ptr<NumberedFile> take(int handle)
{
    auto it = table().find(handle);
    if (it == table().end())
        return nullptr;
    std::unique_ptr<NumberedFile> f = std::move(it->second);
    table().erase(it);
    return f;
}

[[noreturn]] void raiseAccessError(const QString& path, const QString& reason)
{
    Errors::raise(Errors::PathFileAccess, Errors::standardDescription(Errors::PathFileAccess) + QStringLiteral(": ")
                                              + path + QStringLiteral(" (") + reason + QStringLiteral(")"));
}

// Only regular files of a sane size are read; a folder is left to opening.
void checkReadable(const QString& path)
{
    const QString reason = TextFiles::unreadableReason(path);
    if (reason.isEmpty() || reason == QLatin1String("is a folder"))
        return;
    raiseAccessError(path, reason);
}

} // namespace

namespace TextFiles {

QString unreadableReason(const QString& path)
{
    const std::string problem = fileio::regularFileProblem(path.toStdString());
    if (problem == "is not a regular file" || problem == "is a folder")
        return QString::fromStdString(problem);
    if (problem.empty() && QFileInfo(path).size() > kMaximumInputSize)
        return QString::fromStdString(fileio::tooLargeProblem(std::size_t(kMaximumInputSize)));
    return {};
}

int freeFile()
{
    for (int h = 1; h <= kMaxHandles; ++h)
        if (!table().count(h))
            return h;
    Errors::raise(Errors::TooManyFiles);
}

void openForOutput(int handle, const QString& path, Encoding encoding)
{
    claim(handle);
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        Errors::raise(Errors::PathNotFound);
    if (info.isDir())
        Errors::raiseFileError(fileio::FileError(EISDIR, info.absoluteFilePath().toStdString()));
    auto f = std::make_unique<NumberedFile>();
    f->output = true;
    f->encoding = encoding;
    f->target = info.absoluteFilePath().toStdString();
    table()[handle] = std::move(f);
}

bool openNewForOutput(int handle, const QString& path, Encoding encoding)
{
    claim(handle);
    const std::string target = path.toStdString();
    const int descriptor = Errors::translatingFileErrors([&] { return fileio::createExclusive(target); });
    if (descriptor < 0)
        return false;
    auto f = std::make_unique<NumberedFile>();
    f->output = true;
    f->encoding = encoding;
    f->target = target;
    f->descriptor = descriptor;
    table()[handle] = std::move(f);
    return true;
}

void openForInput(int handle, const QString& path)
{
    claim(handle);
    checkReadable(path);
    auto f = std::make_unique<NumberedFile>();
    f->file.setFileName(path);
    if (!f->file.open(QIODevice::ReadOnly)) {
        const QFileInfo info(path);
        if (!info.exists() || info.isDir())
            Errors::raise(Errors::FileNotFound);
        raiseAccessError(path, f->file.errorString());
    }
    // A folder opens for reading on some systems but has no lines to give.
    const QByteArray bytes = f->file.readAll();
    if (f->file.error() != QFileDevice::NoError) {
        if (QFileInfo(path).isDir())
            Errors::raise(Errors::FileNotFound);
        raiseAccessError(path, f->file.errorString());
    }
    f->lines = TextCodec::splitLines(TextCodec::decode(bytes));
    f->file.close();
    table()[handle] = std::move(f);
}

void printLine(int handle, const QString& text)
{
    NumberedFile& f = outputFile(handle);
    append(f, text);
    append(f, kCrLf);
}

void print(int handle, const QString& text) { append(outputFile(handle), text); }

void flush(int handle) { writeOut(outputFile(handle)); }

QString lineInput(int handle)
{
    NumberedFile& f = inputFile(handle);
    if (f.next >= f.lines.size())
        Errors::raise(Errors::InputPastEndOfFile);
    return f.lines.at(f.next++);
}

bool atEnd(int handle)
{
    const NumberedFile& f = inputFile(handle);
    return f.next >= f.lines.size();
}

bool isOpen(int handle) { return table().count(handle) != 0; }

void close(int handle)
{
    std::unique_ptr<NumberedFile> f = take(handle);
    if (!f || !f->output)
        return;
    if (f->descriptor >= 0) {
        writeOut(*f);
        Errors::translatingFileErrors(
            [&] { fileio::syncAndClose(std::exchange(f->descriptor, -1), f->target, fileFaults()); });
        return;
    }
    const QByteArray bytes = finalBytes(*f);
    Errors::translatingFileErrors([&] {
        fileio::replaceFile(f->target, std::string_view(bytes.constData(), size_t(bytes.size())), fileFaults());
    });
}

void closeTogether(const std::vector<int>& handles, fileio::DeferredReplacements* batch)
{
    std::vector<fileio::FileContent> contents;
    for (int handle : handles) {
        std::unique_ptr<NumberedFile> f = take(handle);
        if (f && f->output && f->descriptor < 0) {
            const QByteArray bytes = finalBytes(*f);
            contents.push_back({f->target, bytes.toStdString()});
        }
    }
    Errors::translatingFileErrors([&] {
        if (batch)
            batch->stage(contents);
        else
            fileio::replaceFiles(contents, fileFaults());
    });
}

bool targetHolds(int handle)
{
    NumberedFile& f = outputFile(handle);
    if (f.descriptor >= 0)
        return false;
    const QByteArray bytes = finalBytes(f);
    return fileio::holdsBytes(f.target, std::string_view(bytes.constData(), size_t(bytes.size())));
}

void discard(int handle)
{
    std::unique_ptr<NumberedFile> f = take(handle);
    if (f && f->descriptor >= 0)
        ::close(f->descriptor);
}

void closeAll()
{
    while (!table().empty()) {
        const int handle = table().begin()->first;
        const bool replaced = table().begin()->second->output && table().begin()->second->descriptor < 0;
        try {
            // A file still being replaced is unfinished work: its old content stays.
            if (replaced)
                discard(handle);
            else
                close(handle);
        } catch (const RuntimeError&) {
            // The file is already out of the table; closing the rest matters more.
        }
    }
    // Pages staged for a later commit are unfinished work too.
    Session::current().dropAllStaged();
}

} // namespace TextFiles

namespace TextFiles {

Table::Table() = default;

Table::~Table()
{
    // Files being replaced are dropped; a file written as it goes keeps what was written.
    for (auto& [handle, f] : files) {
        if (f->descriptor < 0)
            continue;
        try {
            writeOut(*f);
        } catch (const RuntimeError&) {
        }
        ::close(f->descriptor);
    }
}

} // namespace TextFiles
