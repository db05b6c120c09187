// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileio/replacement_journal.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

namespace {

constexpr std::string_view kFirstLine = "zel-journal 1";
// Far beyond the journal of a commit of many pages of one folder.
constexpr off_t kLargestJournal = 64 * 1024 * 1024;

// Names may hold any byte but "/" and NUL: blanks, "%" and line ends are
// written as "%XX".
std::string escaped(const std::string& name)
{
    std::string text;
    for (const char c : name) {
        if (c == '%' || c == ' ' || c == '\r' || c == '\n') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
            text += code;
        } else {
            text += c;
        }
    }
    return text;
}

std::optional<std::string> unescaped(std::string_view text)
{
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const std::string code(text.substr(i + 1, 2));
        char* end = nullptr;
        const long value = std::strtol(code.c_str(), &end, 16);
        if (code.size() != 2 || *end)
            return std::nullopt;
        name += char(value);
        i += 2;
    }
    return name;
}

std::string hex(std::uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// The whole file, or nullopt when it cannot be read or is no small regular file.
std::optional<std::string> readSmallFile(const std::string& path, off_t largest)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    struct stat info {};
    std::optional<std::string> content;
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= largest) {
        content.emplace(std::size_t(info.st_size), '\0');
        std::size_t done = 0;
        while (done < content->size()) {
            const ssize_t got = ::read(descriptor, content->data() + done, content->size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += std::size_t(got);
        }
        content->resize(done);
    }
    ::close(descriptor);
    return content;
}

// The groups of a whole journal; nullopt for one cut short or damaged.
std::optional<std::vector<JournalGroup>> parse(const std::string& text)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            return std::nullopt; // the last line is cut short
        lines.push_back(std::string_view(text).substr(start, end - start));
        start = end + 2;
    }
    if (lines.size() < 2 || lines.front() != kFirstLine)
        return std::nullopt;
    const std::string_view last = lines.back();
    const std::size_t body = text.size() - last.size() - 2;
    if (last != "end " + hex(contentHash(std::string_view(text).substr(0, body))))
        return std::nullopt;
    std::vector<JournalGroup> groups;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string line(lines[i]);
        if (line == "group") {
            groups.emplace_back();
            continue;
        }
        // size, hash, temporary and target, one blank between them
        const auto blank = [&](std::size_t from) { return line.find(' ', from); };
        const std::size_t a = blank(0), b = a == std::string::npos ? a : blank(a + 1),
                          c = b == std::string::npos ? b : blank(b + 1);
        if (groups.empty() || c == std::string::npos || line.find(' ', c + 1) != std::string::npos)
            return std::nullopt;
        JournalEntry entry;
        char* end = nullptr;
        entry.size = std::strtoull(line.c_str(), &end, 10);
        if (end != line.c_str() + a)
            return std::nullopt;
        entry.hash = std::strtoull(line.c_str() + a + 1, &end, 16);
        if (end != line.c_str() + b)
            return std::nullopt;
        const auto temporary = unescaped(std::string_view(line).substr(b + 1, c - b - 1));
        const auto target = unescaped(std::string_view(line).substr(c + 1));
        if (!temporary || !target || temporary->empty() || target->empty() || temporary->find('/') != std::string::npos
            || target->find('/') != std::string::npos)
            return std::nullopt;
        entry.temporary = *temporary;
        entry.target = *target;
        groups.back().push_back(std::move(entry));
    }
    return groups;
}

// A journal of a run that no longer runs.
bool deadJournal(const std::string& folder, std::string_view name)
{
    if (name.substr(0, kJournalPrefix.size()) != kJournalPrefix)
        return false;
    const std::string path = folder + "/" + std::string(name);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const long pid = std::atol(std::string(name.substr(kJournalPrefix.size())).c_str());
    return pid > 0 && !processRunsSince(pid, info.st_mtime);
}

std::vector<std::string> deadJournalsIn(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        if (deadJournal(folder, entry->d_name))
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

// Whether the temporary is there; present receives false when it is gone
// (renamed already). A temporary there but not holding what was written
// makes the group one that must not be completed.
bool whole(const std::string& folder, const JournalEntry& entry, bool& present)
{
    const std::string path = folder + "/" + entry.temporary;
    struct stat info {};
    present = ::lstat(path.c_str(), &info) == 0;
    if (!present)
        return true;
    if (!S_ISREG(info.st_mode) || std::uint64_t(info.st_size) != entry.size)
        return false;
    const std::optional<std::string> content = readSmallFile(path, off_t(entry.size));
    return content && content->size() == entry.size && contentHash(*content) == entry.hash;
}

// The renames of a group still to do; none when it is done or must stay as it is.
std::vector<const JournalEntry*> remainingRenames(const std::string& folder, const JournalGroup& group)
{
    std::vector<const JournalEntry*> remaining;
    for (const JournalEntry& entry : group) {
        bool present = false;
        if (!whole(folder, entry, present))
            return {};
        if (present)
            remaining.push_back(&entry);
    }
    return remaining;
}

} // namespace

std::uint64_t contentHash(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string writeJournal(const std::string& folder, const std::vector<JournalGroup>& groups,
                         const std::string& failurePath, const FailureHook* faults)
{
    std::string text = std::string(kFirstLine) + "\r\n";
    for (const JournalGroup& group : groups) {
        text += "group\r\n";
        for (const JournalEntry& entry : group)
            text += std::to_string(entry.size) + ' ' + hex(entry.hash) + ' ' + escaped(entry.temporary) + ' '
                    + escaped(entry.target) + "\r\n";
    }
    text += "end " + hex(contentHash(text)) + "\r\n";
    std::string path;
    int descriptor = -1;
    try {
        descriptor = createUnique(folder + "/" + std::string(kJournalPrefix) + std::to_string(::getpid()) + "-", path);
    } catch (const FileError& error) {
        throw FileError(error.systemError(), failurePath);
    }
    try {
        writeAll(descriptor, text, failurePath, faults);
        failIfInjected(faults, "close", failurePath);
    } catch (...) {
        ::unlink(path.c_str());
        ::close(descriptor);
        throw;
    }
    if (::close(descriptor) != 0 && errno != EINTR) {
        const int error = errno;
        ::unlink(path.c_str());
        throw FileError(error, failurePath);
    }
    return path;
}

std::set<std::string> completeInterruptedGroups(const std::string& folder)
{
    std::set<std::string> needed;
    for (const std::string& name : deadJournalsIn(folder)) {
        const std::string journal = folder + "/" + name;
        const std::optional<std::string> text = readSmallFile(journal, kLargestJournal);
        const auto groups = text ? parse(*text) : std::nullopt;
        bool completed = true;
        std::set<std::string> left;
        for (const JournalGroup& group : groups ? *groups : std::vector<JournalGroup>{}) {
            for (const JournalEntry* entry : remainingRenames(folder, group)) {
                const std::string temporary = folder + "/" + entry->temporary;
                if (::rename(temporary.c_str(), (folder + "/" + entry->target).c_str()) != 0 && errno != ENOENT) {
                    completed = false;
                    left.insert(entry->temporary);
                }
            }
        }
        if (completed) {
            syncFolder(folder);
            ::unlink(journal.c_str());
        } else {
            needed.insert(left.begin(), left.end());
        }
    }
    return needed;
}

void completeInterruptedGroupsBelow(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> folders;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat info {};
        const std::string path = folder + "/" + name;
        if (name != "." && name != ".." && ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            folders.push_back(path);
    }
    ::closedir(dir);
    for (const std::string& path : folders)
        completeInterruptedGroups(path);
}

} // namespace fileio
