// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/page_references.h"

#include "pages/page_sources.h"
#include "pages/support.h"
#include "base/folder_path.h"
#include "text/text_codec.h"
#include "text/text_files.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstring>

namespace PageReferences {

namespace {

// Every search stays inside the line it is about, so that each byte of a
// page source is looked at a bounded number of times however long its lines
// are and whatever they hold.

qsizetype skipBlanks(const QByteArray& bytes, qsizetype at, qsizetype end)
{
    while (at < end && bytes[at] == ' ')
        ++at;
    return at;
}

// The first c in [at, end), or end.
qsizetype find(const QByteArray& bytes, char c, qsizetype at, qsizetype end)
{
    if (at >= end)
        return end;
    const char* const data = bytes.constData();
    const void* const hit = std::memchr(data + at, c, std::size_t(end - at));
    return hit ? static_cast<const char*>(hit) - data : end;
}

qsizetype wordEnd(const QByteArray& bytes, qsizetype at, qsizetype end) { return find(bytes, ' ', at, end); }

// The end of the line starting at start: its first CR or LF, or size.
qsizetype lineEnd(const QByteArray& bytes, qsizetype start, qsizetype size)
{
    const char* const data = bytes.constData();
    const char* const end = std::find_if(data + start, data + size, [](char c) { return c == '\r' || c == '\n'; });
    return end - data;
}

// Whether [at, end) is name, ASCII letters in any case.
bool isDirectiveName(const QByteArray& bytes, qsizetype at, qsizetype end, QByteArrayView name)
{
    if (end - at != name.size())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char c = bytes[at + i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != name[i])
            return false;
    }
    return true;
}

// The start of the reference word of an #item's arguments [at, end), or -1.
qsizetype itemReferenceStart(const QByteArray& bytes, qsizetype at, qsizetype end)
{
    qsizetype nameEnd;
    if (bytes[at] == '"') {
        nameEnd = find(bytes, '"', at + 1, end);
        if (nameEnd == end)
            return -1;
        ++nameEnd;
    } else {
        nameEnd = wordEnd(bytes, at, end);
        if (nameEnd == end)
            return -1;
    }
    const qsizetype reference = skipBlanks(bytes, nameEnd, end);
    return reference < end ? reference : -1;
}

// The reference word of the directive line [start, end), if it has one.
std::optional<Spot> spotInLine(const QByteArray& bytes, qsizetype start, qsizetype end)
{
    if (start == end || bytes[start] != '#')
        return std::nullopt;
    const qsizetype blank = find(bytes, ' ', start, end);
    if (blank == end)
        return std::nullopt;
    const bool button = isDirectiveName(bytes, start + 1, blank, "button");
    if (!button && !isDirectiveName(bytes, start + 1, blank, "item"))
        return std::nullopt;
    qsizetype argumentsEnd = end;
    while (argumentsEnd > blank && bytes[argumentsEnd - 1] == ' ')
        --argumentsEnd;
    const qsizetype arguments = skipBlanks(bytes, blank + 1, argumentsEnd);
    if (arguments == argumentsEnd)
        return std::nullopt;
    const qsizetype reference = button ? arguments : itemReferenceStart(bytes, arguments, argumentsEnd);
    if (reference < 0)
        return std::nullopt;
    Spot spot;
    spot.start = reference;
    spot.length = wordEnd(bytes, reference, argumentsEnd) - reference;
    spot.lineStart = start;
    spot.lineEnd = end;
    return spot;
}

bool validName(const QString& name, int longest)
{
    return name.size() <= longest && Support::hasOnlyNameCharacters(name);
}

} // namespace

std::vector<Spot> spotsIn(const QByteArray& bytes)
{
    std::vector<Spot> spots;
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    for (int line = 1; start < size; ++line) {
        const qsizetype end = lineEnd(bytes, start, size);
        if (line > 1) {
            if (std::optional<Spot> spot = spotInLine(bytes, start, end)) {
                spot->line = line;
                spots.push_back(*spot);
            }
        }
        start = end + ((end + 1 < size && bytes[end] == '\r' && bytes[end + 1] == '\n') ? 2 : 1);
    }
    return spots;
}

std::optional<PageId> resolve(const QByteArray& reference, const QString& referrerFolder)
{
    qsizetype separator = reference.indexOf('\\');
    if (separator < 0)
        separator = reference.indexOf('/');
    // Valid names are ASCII, so reading the bytes as Latin-1 loses nothing that matters.
    PageId id;
    if (separator < 0) {
        id = {referrerFolder, QString::fromLatin1(reference)};
    } else {
        id = {QString::fromLatin1(reference.left(separator)), QString::fromLatin1(reference.mid(separator + 1))};
        if (!validName(id.folder, Support::longestFolderName))
            return std::nullopt;
    }
    if (!validName(id.page, Support::longestPageName))
        return std::nullopt;
    return id;
}

QList<PageSourceEntry> pageSourcesOf(const QString& kioskFolder)
{
    QList<PageSourceEntry> pages;
    const QString top = withTrailingSeparator(kioskFolder);
    for (const QString& folder : QDir(top).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        for (const QString& fileName : PageSources::fileNamesIn(top + folder))
            pages.append({{folder, PageSources::pageNameOf(fileName)}, top + folder + QDir::separator() + fileName});
    return pages;
}

std::optional<QByteArray> readPageSource(const PageSourceEntry& source, QList<ReferenceLine>& lines)
{
    QByteArray bytes;
    const QString reason = TextFiles::readAuthorFile(source.path, bytes);
    if (reason.isEmpty())
        return bytes;
    lines.append({source.path, 0, QStringLiteral("Not read: ") + TextFiles::afterFileName(reason)});
    return std::nullopt;
}

QList<ReferenceLine> linesNaming(const QString& kioskFolder, const PageId& target)
{
    QList<ReferenceLine> lines;
    for (const PageSourceEntry& source : pageSourcesOf(kioskFolder)) {
        const std::optional<QByteArray> read = readPageSource(source, lines);
        if (!read)
            continue;
        const QByteArray& bytes = *read;
        QStringList decoded; // decoded whole, as the maker decodes it, once a line is wanted
        for (const Spot& spot : spotsIn(bytes)) {
            if (resolve(bytes.mid(spot.start, spot.length), source.id.folder) != target)
                continue;
            if (decoded.isEmpty())
                decoded = TextCodec::splitLines(TextCodec::decode(bytes));
            lines.append({source.path, spot.line, decoded.value(spot.line - 1)});
        }
    }
    return lines;
}

} // namespace PageReferences
