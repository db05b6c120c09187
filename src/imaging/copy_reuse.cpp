// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/copy_reuse.h"

#include "platform/problem.h"

namespace Jpeg {

namespace {

using FileFingerprint::Stamp;

// Time stamps closer than this to the moment they were taken may not yet show
// a change made right after (coarse file system clocks).
constexpr std::int64_t StampTrustMarginNs = 2'000'000'000;

// True when the file's stamp still equals the recorded one, taken well after
// the file's last change: its content is then the recorded content.
bool stampTrusted(const Stamp& now, const Stamp& recorded, std::int64_t recordedAtNs)
{
    return now == recorded && now.changedNs + StampTrustMarginNs < recordedAtNs
           && now.modifiedNs + StampTrustMarginNs < recordedAtNs;
}

// Checks one file against its recorded hash; a file whose stamp is not trusted
// is hashed and, when equal, gets its stamp recorded anew.
bool sameContent(const QString& path, const Stamp& now, Stamp& recorded, std::int64_t& recordedAtNs,
                 std::uint64_t recordedHash, std::int64_t checkedNs, const fileio::FailureHook* faults)
{
    if (stampTrusted(now, recorded, recordedAtNs))
        return true;
    const FileFingerprint::ContentHash hash = FileFingerprint::contentHash(path, faults);
    if (hash.outcome != FileFingerprint::ContentHash::Read || hash.value != recordedHash || hash.stamp != now)
        return false;
    recorded = now;
    recordedAtNs = checkedNs;
    return true;
}

std::optional<CopyRecordEntry> reusable(const CopyJob& job, const CopyRecordEntry& intended,
                                        const std::optional<CopyRecordEntry>& previous,
                                        const fileio::FailureHook* faults)
{
    if (!previous || !previous->sameInputs(intended))
        return std::nullopt;
    CopyRecordEntry entry = *previous;
    const std::int64_t checkedNs = FileFingerprint::nowNs();
    const Stamp sourceStamp = FileFingerprint::stampOf(job.source);
    const Stamp copyStamp = FileFingerprint::stampOf(job.destination);
    if (!sourceStamp.valid() || !copyStamp.valid())
        return std::nullopt;
    if (entry.sourcePath != job.source) {
        entry.sourcePath = job.source;
        entry.sourceStamp = Stamp{};
    }
    if (!sameContent(job.source, sourceStamp, entry.sourceStamp, entry.sourceCheckedNs, entry.sourceHash, checkedNs,
                     faults)
        || !sameContent(job.destination, copyStamp, entry.copyStamp, entry.copyCheckedNs, entry.copyHash, checkedNs,
                        faults))
        return std::nullopt;
    return entry;
}

} // namespace

QString toolIdentity(const QString& program)
{
    const Stamp stamp = FileFingerprint::stampOf(program);
    return program + QStringLiteral("|") + stamp.text();
}

CopyRecordEntry intendedEntry(const CopyJob& job, const QString& tool)
{
    CopyRecordEntry entry;
    const bool resample = job.method == CopyJob::Method::Resample;
    entry.method = resample ? QStringLiteral("resample") : QStringLiteral("copy");
    entry.height = resample ? job.height : 0;
    entry.width = resample ? job.width : 0;
    entry.tool = resample ? tool : QStringLiteral("-");
    return entry;
}

bool wouldKeep(const CopyJob& job, const QString& tool, const std::optional<CopyRecordEntry>& previous)
{
    return reusable(job, intendedEntry(job, tool), previous, nullptr).has_value();
}

CopyOutcome makeCopyUnlessRecorded(const CopyJob& job, const QString& tool,
                                   const std::optional<CopyRecordEntry>& previous, const QString& writeTo,
                                   const CopyServices& services)
{
    CopyRecordEntry entry = intendedEntry(job, tool);
    if (auto kept = reusable(job, entry, previous, services.fileFaults))
        return {true, kept};

    entry.sourcePath = job.source;
    entry.sourceCheckedNs = FileFingerprint::nowNs();
    const FileFingerprint::ContentHash source = FileFingerprint::contentHash(job.source, services.fileFaults);
    if (source.outcome == FileFingerprint::ContentHash::ChangedWhileRead) {
        // A picture being written (copied over, cut short) is not copied
        // half-way: the copy there stays until a make finds it whole.
        services.problems.report(
            copyProblem(job, QStringLiteral("Picture ") + job.source
                                 + QStringLiteral(" changed while it was read - it was not copied")));
        return {false, std::nullopt};
    }
    entry.sourceStamp = source.stamp;
    CopyJob made = job;
    if (!writeTo.isEmpty())
        made.destination = writeTo;
    const CopyResult result = makeCopy(made, services);
    if (result == CopyResult::None)
        return {false, std::nullopt, true};
    if (result != CopyResult::AsAsked || source.outcome != FileFingerprint::ContentHash::Read)
        return {false, std::nullopt};
    // A source that changed while the copy was made is not described by the hash.
    if (FileFingerprint::stampOf(job.source) != entry.sourceStamp)
        return {false, std::nullopt};
    entry.sourceHash = source.value;
    entry.copyCheckedNs = FileFingerprint::nowNs();
    const FileFingerprint::ContentHash copy = FileFingerprint::contentHash(made.destination, services.fileFaults);
    if (copy.outcome != FileFingerprint::ContentHash::Read)
        return {false, std::nullopt};
    entry.copyStamp = copy.stamp;
    entry.copyHash = copy.value;
    return {false, entry};
}

} // namespace Jpeg
