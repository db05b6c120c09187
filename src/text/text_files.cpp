// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_files.h"

#include "fileio/deferred_replacements.h"
#include "fileio/regular_file.h"

#include "base/line_end.h"
#include "base/runtime_error.h"
#include "text/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <algorithm>
#include <cerrno>
#include <limits>
#include <map>
#include <unistd.h>
#include <utility>
#include <vector>
#include <memory>

namespace TextFiles {
struct NumberedFile {
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

QByteArray finalBytes(NumberedFile& f)
{
    if (f.encoding == TextFiles::Encoding::PageSource)
        return TextCodec::encodePageSource(f.pendingText);
    return f.pendingBytes;
}

} // namespace

namespace TextFiles {

QString unreadableReason(const QString& path)
{
    const std::string problem = fileio::regularFileProblem(QFile::encodeName(path).toStdString());
    if (!problem.empty())
        return QString::fromStdString(problem);
    if (QFileInfo(path).size() > kMaximumInputSize)
        return QString::fromStdString(fileio::tooLargeProblem(std::size_t(kMaximumInputSize)));
    return {};
}

QString readAuthorFile(const QString& path, QByteArray& bytes, qint64 maximumSize)
{
    std::string read;
    const std::string problem = fileio::readRegularFile(QFile::encodeName(path).toStdString(),
                                                        std::size_t(std::max<qint64>(0, maximumSize)), read);
    bytes = QByteArray(read.data(), qsizetype(read.size()));
    return QString::fromStdString(problem);
}

QString openAuthorFile(const QString& path, QFile& file)
{
    std::string reason;
    const int descriptor =
        fileio::openRegularFile(QFile::encodeName(path).toStdString(), std::numeric_limits<std::size_t>::max(), reason);
    if (descriptor < 0)
        return QString::fromStdString(reason);
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return file.errorString();
    }
    return {};
}

QString afterFileName(const QString& reason)
{
    return reason.startsWith(QLatin1String("is ")) ? reason : QStringLiteral("cannot be read (%1)").arg(reason);
}

void replaceTogether(const std::vector<fileio::FileContent>& contents, fileio::DeferredReplacements* batch,
                     const fileio::FailureHook* faults)
{
    Errors::translatingFileErrors([&] {
        if (batch)
            batch->stage(contents);
        else
            fileio::replaceFiles(contents, faults);
    });
}

Table::Table(const fileio::FailureHook* faults) : m_faults(faults) {}

Table::~Table()
{
    // Files being replaced are dropped; a file written as it goes keeps what was written.
    for (auto& [handle, f] : m_files) {
        if (f->descriptor < 0)
            continue;
        try {
            writeOut(*f);
        } catch (const RuntimeError&) {
        }
        ::close(f->descriptor);
    }
}

NumberedFile& Table::fileFor(int handle) const
{
    auto it = m_files.find(handle);
    if (it == m_files.end())
        Errors::raise(Errors::BadFileNameOrNumber);
    return *it->second;
}

void Table::claim(int handle) const
{
    if (handle < 1 || handle > kMaxHandles)
        Errors::raise(Errors::BadFileNameOrNumber);
    if (m_files.count(handle))
        Errors::raise(Errors::FileAlreadyOpen);
}

// Streamed files write what is pending; replaced files keep everything until close.
void Table::writeOut(NumberedFile& f) const
{
    if (f.descriptor < 0 || f.pendingBytes.isEmpty())
        return;
    const QByteArray bytes = std::exchange(f.pendingBytes, QByteArray());
    Errors::translatingFileErrors([&] {
        fileio::writeAll(f.descriptor, std::string_view(bytes.constData(), size_t(bytes.size())), f.target, m_faults);
    });
}

void Table::append(NumberedFile& f, QStringView text) const
{
    switch (f.encoding) {
    case Encoding::Utf8:
        f.pendingBytes.append(text.toUtf8());
        break;
    case Encoding::Windows1252References:
        TextCodec::appendWindows1252WithReferences(f.pendingBytes, text);
        break;
    case Encoding::PageSource:
        f.pendingText.append(text);
        return;
    }
    if (f.descriptor >= 0 && f.pendingBytes.size() >= kFlushThreshold)
        writeOut(f);
}

NumberedFile& Table::outputFile(int handle) const
{
    NumberedFile& f = fileFor(handle);
    if (!f.output)
        Errors::raise(Errors::BadFileMode);
    return f;
}

NumberedFile& Table::inputFile(int handle) const
{
    NumberedFile& f = fileFor(handle);
    if (f.output)
        Errors::raise(Errors::BadFileMode);
    return f;
}

std::unique_ptr<NumberedFile> Table::take(int handle)
{
    auto it = m_files.find(handle);
    if (it == m_files.end())
        return nullptr;
    std::unique_ptr<NumberedFile> f = std::move(it->second);
    m_files.erase(it);
    return f;
}

int Table::freeFile() const
{
    for (int h = 1; h <= kMaxHandles; ++h)
        if (!m_files.count(h))
            return h;
    Errors::raise(Errors::TooManyFiles);
}

void Table::openForOutput(int handle, const QString& path, Encoding encoding)
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
    m_files[handle] = std::move(f);
}

bool Table::openNewForOutput(int handle, const QString& path, Encoding encoding)
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
    m_files[handle] = std::move(f);
    return true;
}

void Table::openForInput(int handle, const QString& path)
{
    claim(handle);
    QByteArray bytes;
    if (const QString reason = readAuthorFile(path, bytes); !reason.isEmpty()) {
        if (reason == QLatin1String("is a folder") || !QFileInfo::exists(path))
            Errors::raise(Errors::FileNotFound);
        Errors::raiseAccessError(path, reason);
    }
    auto f = std::make_unique<NumberedFile>();
    f->lines = TextCodec::splitLines(TextCodec::decode(bytes));
    m_files[handle] = std::move(f);
}

void Table::printLine(int handle, const QString& text)
{
    NumberedFile& f = outputFile(handle);
    append(f, text);
    append(f, kCrLf);
}

void Table::print(int handle, const QString& text) { append(outputFile(handle), text); }

void Table::flush(int handle) { writeOut(outputFile(handle)); }

QString Table::lineInput(int handle)
{
    NumberedFile& f = inputFile(handle);
    if (f.next >= f.lines.size())
        Errors::raise(Errors::InputPastEndOfFile);
    return f.lines.at(f.next++);
}

bool Table::atEnd(int handle) const
{
    const NumberedFile& f = inputFile(handle);
    return f.next >= f.lines.size();
}

bool Table::isOpen(int handle) const { return m_files.count(handle) != 0; }

void Table::close(int handle)
{
    std::unique_ptr<NumberedFile> f = take(handle);
    if (!f || !f->output)
        return;
    if (f->descriptor >= 0) {
        writeOut(*f);
        Errors::translatingFileErrors(
            [&] { fileio::syncAndClose(std::exchange(f->descriptor, -1), f->target, m_faults); });
        return;
    }
    const QByteArray bytes = finalBytes(*f);
    Errors::translatingFileErrors(
        [&] { fileio::replaceFile(f->target, std::string_view(bytes.constData(), size_t(bytes.size())), m_faults); });
}

std::optional<fileio::FileContent> Table::takeReplacement(int handle)
{
    std::unique_ptr<NumberedFile> f = take(handle);
    if (!f || !f->output || f->descriptor >= 0)
        return std::nullopt;
    const QByteArray bytes = finalBytes(*f);
    return fileio::FileContent{f->target, bytes.toStdString()};
}

void Table::closeTogether(const std::vector<int>& handles, fileio::DeferredReplacements* batch)
{
    std::vector<fileio::FileContent> contents;
    for (int handle : handles)
        if (std::optional<fileio::FileContent> content = takeReplacement(handle))
            contents.push_back(std::move(*content));
    replaceTogether(contents, batch, m_faults);
}

bool Table::targetHolds(int handle) const
{
    NumberedFile& f = outputFile(handle);
    if (f.descriptor >= 0)
        return false;
    const QByteArray bytes = finalBytes(f);
    return fileio::holdsBytes(f.target, std::string_view(bytes.constData(), size_t(bytes.size())));
}

void Table::discard(int handle)
{
    std::unique_ptr<NumberedFile> f = take(handle);
    if (f && f->descriptor >= 0)
        ::close(f->descriptor);
}

void Table::closeAll()
{
    while (!m_files.empty()) {
        const int handle = m_files.begin()->first;
        const bool replaced = m_files.begin()->second->output && m_files.begin()->second->descriptor < 0;
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
}

} // namespace TextFiles
