// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/copy_record.h"

#include "fileio/atomic_file.h"
#include "fileio/regular_file.h"
#include "base/line_end.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace Jpeg {

const QString CopyRecord::FileName = QStringLiteral(".zel-copies");

namespace {

// Version 2 records a resampled copy only once it decoded to its end; a
// record of version 1 may vouch for a copy cut short, so it counts as empty
// and its copies are made anew once.
const QString VersionLine = QStringLiteral("zel-copies 2");
constexpr int FieldCount = 12;
// A line takes some 200 bytes with the kiosk's paths (a few hundred with long
// ones), so this holds some 50,000 copies, far more than one images folder
// gets, while a make that holds the records of many folders at once stays
// small; a larger file is no record of ours.
constexpr std::size_t kMaximumRecordSize = 16 * 1024 * 1024;
const QByteArray EndLinePrefix = "end ";

std::uint64_t hashOf(const QByteArray& bytes)
{
    return FileFingerprint::hashBytes(bytes.constData(), std::size_t(bytes.size()));
}

bool fitsOnALine(const QString& text)
{
    return !text.contains(u'\t') && !text.contains(u'\n') && !text.contains(u'\r');
}

QString hex(std::uint64_t value) { return QString::number(value, 16); }

std::optional<CopyRecordEntry> parseFields(const QList<QStringView>& fields)
{
    CopyRecordEntry entry;
    bool ok[7];
    entry.method = fields[1].toString();
    entry.height = fields[2].toInt(&ok[0]);
    entry.width = fields[3].toInt(&ok[1]);
    entry.tool = fields[4].toString();
    entry.sourcePath = fields[5].toString();
    entry.sourceHash = fields[6].toULongLong(&ok[2], 16);
    const auto sourceStamp = FileFingerprint::Stamp::parse(fields[7]);
    entry.sourceCheckedNs = fields[8].toLongLong(&ok[3]);
    entry.copyHash = fields[9].toULongLong(&ok[4], 16);
    const auto copyStamp = FileFingerprint::Stamp::parse(fields[10]);
    entry.copyCheckedNs = fields[11].toLongLong(&ok[5]);
    ok[6] = sourceStamp && copyStamp
            && (entry.method == QLatin1String("copy") || entry.method == QLatin1String("resample"));
    if (!std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; }))
        return std::nullopt;
    entry.sourceStamp = *sourceStamp;
    entry.copyStamp = *copyStamp;
    return entry;
}

} // namespace

CopyRecord CopyRecord::load(const QString& imagesFolder)
{
    CopyRecord record;
    record.m_folder = imagesFolder;
    // Our own file, always replaced whole: anything else at its name (a FIFO,
    // a link, a device, a folder, a huge file) is no record and is replaced.
    const QString path = imagesFolder + QDir::separator() + FileName;
    std::string read;
    if (!fileio::readRegularFile(QFile::encodeName(path).toStdString(), kMaximumRecordSize, read, fileio::Links::Refuse)
             .empty()) {
        const QFileInfo there(path);
        record.m_changed = there.exists() || there.isSymLink();
        return record;
    }
    // The last line holds the hash of everything before it: a record cut
    // short or changed anywhere is not trusted at all.
    const QByteArray bytes = QByteArray::fromStdString(read);
    const qsizetype lastLine = bytes.lastIndexOf("\r\n", bytes.size() - 3) + 2;
    if (lastLine < 2 || !bytes.endsWith("\r\n")
        || bytes.mid(lastLine) != EndLinePrefix + QByteArray::number(hashOf(bytes.left(lastLine)), 16) + "\r\n") {
        record.m_changed = !bytes.isEmpty();
        return record;
    }
    const QString text = QString::fromUtf8(bytes.left(lastLine));
    const QList<QStringView> lines = QStringView(text).split(kCrLf, Qt::SkipEmptyParts);
    if (lines.isEmpty() || lines.first() != VersionLine)
        return record;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QStringView> fields = lines[i].split(u'\t');
        const auto entry = fields.size() == FieldCount ? parseFields(fields) : std::nullopt;
        if (!entry) {
            // A damaged record is not trusted in part: it is made anew.
            record.m_entries.clear();
            record.m_changed = true;
            return record;
        }
        record.m_entries.insert(fields[0].toString(), *entry);
    }
    return record;
}

std::optional<CopyRecordEntry> CopyRecord::find(const QString& copyName) const
{
    const auto found = m_entries.constFind(copyName);
    if (found == m_entries.constEnd())
        return std::nullopt;
    return *found;
}

void CopyRecord::put(const QString& copyName, const CopyRecordEntry& entry)
{
    if (!(fitsOnALine(copyName) && fitsOnALine(entry.tool) && fitsOnALine(entry.sourcePath))) {
        remove(copyName);
        return;
    }
    const auto found = m_entries.constFind(copyName);
    if (found != m_entries.constEnd() && *found == entry)
        return;
    m_entries.insert(copyName, entry);
    m_changed = true;
}

void CopyRecord::remove(const QString& copyName)
{
    if (m_entries.remove(copyName))
        m_changed = true;
}

bool CopyRecord::save(const fileio::FailureHook* fileFaults) const
{
    QStringList names = m_entries.keys();
    names.sort();
    QString text = VersionLine + kCrLf;
    for (const QString& name : names) {
        const CopyRecordEntry& e = m_entries[name];
        text += QStringList{name,
                            e.method,
                            QString::number(e.height),
                            QString::number(e.width),
                            e.tool,
                            e.sourcePath,
                            hex(e.sourceHash),
                            e.sourceStamp.text(),
                            QString::number(e.sourceCheckedNs),
                            hex(e.copyHash),
                            e.copyStamp.text(),
                            QString::number(e.copyCheckedNs)}
                    .join(u'\t')
                + kCrLf;
    }
    QByteArray bytes = text.toUtf8();
    bytes += EndLinePrefix + QByteArray::number(hashOf(bytes), 16) + "\r\n";
    // A record of this folder's copies is never written elsewhere: a link at
    // its name is replaced by the record.
    try {
        fileio::replaceFile(QFile::encodeName(m_folder + QDir::separator() + FileName).toStdString(),
                            std::string_view(bytes.constData(), size_t(bytes.size())), fileFaults,
                            fileio::LinkAtTarget::Replace);
    } catch (const fileio::FileError&) {
        return false;
    }
    return true;
}

} // namespace Jpeg
