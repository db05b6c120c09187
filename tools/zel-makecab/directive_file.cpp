// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "directive_file.h"

#include "makecab_error.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string lowered(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) { return lowered(a) == lowered(b); }

std::string replaceStar(std::string_view text, std::string_view number)
{
    std::string result;
    for (char c : text) {
        if (c == '*')
            result += number;
        else
            result += c;
    }
    return result;
}

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// "/etc/hostname", "\\server\\share", "C:\\x" or "C:x": a name that does not
// start in the folder it is read from.
bool isAbsoluteName(std::string_view name)
{
    return name.front() == '/' || name.front() == '\\'
           || (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':');
}

// Whether a part of the name between separators ("/" or "\\") is "..".
bool climbsUp(std::string_view name)
{
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find_first_of("/\\", start), name.size());
        if (name.substr(start, end - start) == "..")
            return true;
        start = end + 1;
    }
    return false;
}

// Parses one file at a time, remembering the line being read for messages.
class DirectiveParser {
public:
    explicit DirectiveParser(std::string fileLabel) : m_fileLabel(std::move(fileLabel)) {}

    CabinetDirectives parse(std::string_view text)
    {
        if (text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        for (std::string_view rawLine : splitLines(text)) {
            ++m_lineNumber;
            m_lineText = std::string(rawLine);
            const std::string_view line = trimmed(rawLine);
            if (line.empty() || line.front() == ';')
                continue;
            if (line.front() == '.')
                readDirective(line.substr(1));
            else
                readFileLine(line);
        }
        return m_directives;
    }

private:
    [[noreturn]] void fail(const std::string& problem) const
    {
        throw MakecabError(m_fileLabel + " line " + std::to_string(m_lineNumber) + ": " + problem + ": \"" + m_lineText
                           + "\"");
    }

    void readDirective(std::string_view body)
    {
        const auto nameEnd = std::min(body.find_first_of(" \t"), body.size());
        const std::string_view name = body.substr(0, nameEnd);
        const std::string_view rest = trimmed(body.substr(nameEnd));
        if (sameIgnoringCase(name, "option"))
            readOption(rest);
        else if (sameIgnoringCase(name, "set"))
            readSet(rest);
        else
            fail("unknown directive \"." + std::string(name) + "\"");
    }

    void readOption(std::string_view rest)
    {
        if (!sameIgnoringCase(rest, "explicit"))
            fail("unknown option (only .OPTION EXPLICIT is understood)");
        m_explicit = true;
    }

    void readSet(std::string_view rest)
    {
        const auto equals = rest.find('=');
        if (equals == std::string_view::npos)
            fail(".Set needs the form NAME=VALUE");
        const std::string_view name = trimmed(rest.substr(0, equals));
        if (name.empty())
            fail(".Set without a variable name");
        assign(lowered(name), unquoted(trimmed(rest.substr(equals + 1))));
    }

    // A value may be written in double quotes; "" inside stands for one quote.
    std::string unquoted(std::string_view value) const
    {
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            return std::string(value);
        std::string result;
        value = value.substr(1, value.size() - 2);
        for (std::size_t i = 0; i < value.size(); ++i) {
            result += value[i];
            if (value[i] == '"' && i + 1 < value.size() && value[i + 1] == '"')
                ++i;
        }
        return result;
    }

    void assign(const std::string& name, const std::string& value)
    {
        if (name == "cabinetnametemplate") {
            if (value.empty() || value.find_first_of("/\\") != std::string::npos)
                fail("CabinetNameTemplate must be a plain file name");
            m_directives.cabinetNameTemplate = value;
        } else if (name == "diskdirectorytemplate") {
            m_directives.diskDirectoryTemplate = value;
        } else if (name == "sourcedir") {
            m_directives.sourceDir = value;
        } else if (name == "compressiontype") {
            m_directives.compressionType = compressionType(value);
        } else if (name == "maxdisksize") {
            checkDiskSize(value);
        } else if (name == "cabinet") {
            if (!switchValue(value))
                fail("Cabinet=off (loose compressed files) is not supported");
        } else if (name == "compress") {
            m_directives.compress = switchValue(value);
        } else if (m_explicit) {
            fail("unknown variable \"" + name + "\" under .OPTION EXPLICIT");
        }
    }

    CabinetCompression compressionType(const std::string& value) const
    {
        if (sameIgnoringCase(value, "mszip"))
            return CabinetCompression::MsZip;
        if (sameIgnoringCase(value, "none"))
            return CabinetCompression::None;
        fail("unsupported CompressionType \"" + value + "\" (MSZIP or NONE)");
    }

    bool switchValue(const std::string& value) const
    {
        const std::string v = lowered(value);
        if (v == "on" || v == "yes" || v == "true" || v == "1")
            return true;
        if (v == "off" || v == "no" || v == "false" || v == "0")
            return false;
        fail("expected on or off, not \"" + value + "\"");
    }

    // Everything goes into one cabinet, so the size only has to be a known form.
    void checkDiskSize(const std::string& value) const
    {
        static const char* const named[] = {"cdrom", "2.88m", "1.44m", "1.25m", "1.2m", "720k", "360k"};
        const std::string v = lowered(value);
        if (std::find(std::begin(named), std::end(named), v) != std::end(named))
            return;
        if (!v.empty() && std::all_of(v.begin(), v.end(), [](unsigned char c) { return std::isdigit(c); }))
            return;
        fail("MaxDiskSize must be CDROM, a disk size name or a number of bytes");
    }

    void readFileLine(std::string_view line)
    {
        std::string name;
        if (line.front() == '"') {
            const auto closing = line.find('"', 1);
            if (closing == std::string_view::npos)
                fail("file name without closing quote");
            if (!trimmed(line.substr(closing + 1)).empty())
                fail("unexpected text after the quoted file name");
            name = std::string(line.substr(1, closing - 1));
        } else {
            name = std::string(line);
        }
        if (name.empty())
            fail("empty file name");
        // The name is stored as it is listed and an extracting program writes
        // the file under it: it must stay below the folder extracted into.
        if (isAbsoluteName(name))
            fail("absolute file name: a listed name must lie below SourceDir");
        if (climbsUp(name))
            fail("file name with \"..\": a listed name must lie below SourceDir");
        const ListedFile file{name, m_lineNumber};
        // Windows ignores letter case, so sub/a and SUB\a are one entry of the cabinet.
        const auto [earlier, added] = m_lineOfName.emplace(lowered(CabinetDirectives::storedName(file)), m_lineNumber);
        if (!added)
            fail("file listed twice (first on line " + std::to_string(earlier->second) + ")");
        m_directives.files.push_back(file);
    }

    std::string m_fileLabel;
    CabinetDirectives m_directives;
    std::unordered_map<std::string, int> m_lineOfName; // stored name in lower case to the line listing it
    bool m_explicit = false;
    int m_lineNumber = 0;
    std::string m_lineText;
};

} // namespace

CabinetCompression CabinetDirectives::effectiveCompression() const
{
    return compress ? compressionType : CabinetCompression::None;
}

std::string CabinetDirectives::cabinetFileName(std::size_t number) const
{
    return replaceStar(cabinetNameTemplate, std::to_string(number));
}

bool CabinetDirectives::hasCabinetNumber() const { return cabinetNameTemplate.find('*') != std::string::npos; }

std::filesystem::path CabinetDirectives::outputFolder() const
{
    const std::string folder = replaceStar(diskDirectoryTemplate, "1");
    return folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder);
}

std::filesystem::path CabinetDirectives::sourcePath(const ListedFile& file) const
{
    std::string relative = file.name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const std::filesystem::path source =
        sourceDir.empty() ? std::filesystem::path(".") : std::filesystem::path(sourceDir);
    return source / relative;
}

std::string CabinetDirectives::storedName(const ListedFile& file)
{
    std::string name = file.name;
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

CabinetDirectives parseDirectives(std::string_view text, const std::string& fileLabel)
{
    return DirectiveParser(fileLabel).parse(text);
}

CabinetDirectives readDirectiveFile(const std::filesystem::path& path)
{
    // Opened without waiting, so that a FIFO is refused rather than read forever.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const auto fail = [&](const std::string& reason) {
        if (descriptor >= 0)
            ::close(descriptor);
        throw MakecabError("cannot read directive file \"" + path.string() + "\": " + reason);
    };
    if (descriptor < 0)
        fail(std::strerror(errno));
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        fail(std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        fail("not a regular file");
    if (status.st_size > maximumDirectiveFileSize)
        fail("larger than " + std::to_string(maximumDirectiveFileSize) + " bytes");
    std::string content(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t filled = 0;
    while (filled < content.size()) {
        const ssize_t got = ::read(descriptor, content.data() + filled, content.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            fail(std::strerror(errno));
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    ::close(descriptor);
    content.resize(filled);
    return parseDirectives(content, path.filename().string());
}
