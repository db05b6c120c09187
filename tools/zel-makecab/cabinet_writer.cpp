#include "cabinet_writer.h"

#include "makecab_error.h"

#include <libgcab.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// Turns a failed GLib call into a MakecabError; always frees the error.
void throwIfFailed(gboolean ok, GError* error, const std::string& context)
{
    if (ok)
        return;
    const std::string detail = error ? error->message : "unknown failure";
    if (error)
        g_error_free(error);
    throw MakecabError(context + ": " + detail);
}

// A file in the output folder that is removed again unless renamed into place.
class TemporaryCabinet {
public:
    explicit TemporaryCabinet(const fs::path& finalPath) : finalPath_(finalPath)
    {
        std::string pattern = (finalPath.parent_path() / ("." + finalPath.filename().string() + ".XXXXXX")).string();
        const int fd = mkstemp(pattern.data());
        if (fd < 0)
            throw MakecabError("cannot write to output folder \"" + finalPath.parent_path().string()
                               + "\": " + std::strerror(errno));
        path_ = pattern;
        // mkstemp makes the file private; a cabinet gets the usual permissions.
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
        close(fd);
    }
    TemporaryCabinet(const TemporaryCabinet&) = delete;
    TemporaryCabinet& operator=(const TemporaryCabinet&) = delete;
    ~TemporaryCabinet()
    {
        if (!committed_)
            unlink(path_.c_str());
    }

    // The cabinet writer needs a seekable stream, which a file output stream is.
    GObjectPtr<GOutputStream> openStream()
    {
        GObjectPtr<GFile> file(g_file_new_for_path(path_.c_str()));
        GError* error = nullptr;
        GFileOutputStream* stream = g_file_replace(file.get(), nullptr, FALSE, G_FILE_CREATE_NONE, nullptr, &error);
        throwIfFailed(stream != nullptr, error, "cannot write \"" + path_ + "\"");
        return GObjectPtr<GOutputStream>(G_OUTPUT_STREAM(stream));
    }

    void commit()
    {
        if (rename(path_.c_str(), finalPath_.c_str()) != 0)
            throw MakecabError("cannot write cabinet \"" + finalPath_.string() + "\": " + std::strerror(errno));
        committed_ = true;
    }

private:
    fs::path finalPath_;
    std::string path_;
    bool committed_ = false;
};

void checkListedFilesExist(const CabinetDirectives& directives)
{
    for (const ListedFile& file : directives.files) {
        const fs::path source = directives.sourcePath(file);
        std::error_code error;
        if (!fs::is_regular_file(source, error))
            throw MakecabError("file not found (listed on line " + std::to_string(file.lineNumber) + "): \""
                               + source.string() + "\"");
    }
}

void ensureOutputFolder(const fs::path& folder)
{
    std::error_code error;
    if (fs::is_directory(folder, error))
        return;
    fs::create_directories(folder, error);
    if (error)
        throw MakecabError("cannot create output folder \"" + folder.string() + "\": " + error.message());
}

GObjectPtr<GCabCabinet> cabinetOf(const CabinetDirectives& directives)
{
    const gint compression = directives.effectiveCompression() == CabinetCompression::MsZip
        ? GCAB_COMPRESSION_MSZIP : GCAB_COMPRESSION_NONE;
    GObjectPtr<GCabFolder> folder(gcab_folder_new(compression));
    for (const ListedFile& file : directives.files) {
        const fs::path source = directives.sourcePath(file);
        GObjectPtr<GFile> sourceFile(g_file_new_for_path(source.c_str()));
        GObjectPtr<GCabFile> entry(
            gcab_file_new_with_file(CabinetDirectives::storedName(file).c_str(), sourceFile.get()));
        GError* error = nullptr;
        throwIfFailed(gcab_folder_add_file(folder.get(), entry.get(), FALSE, nullptr, &error), error,
                      "cannot add \"" + source.string() + "\"");
    }
    GObjectPtr<GCabCabinet> cabinet(gcab_cabinet_new());
    GError* error = nullptr;
    throwIfFailed(gcab_cabinet_add_folder(cabinet.get(), folder.get(), &error), error, "cannot build cabinet");
    return cabinet;
}

} // namespace

fs::path writeCabinet(const CabinetDirectives& directives)
{
    checkListedFilesExist(directives);
    const fs::path folder = directives.outputFolder();
    ensureOutputFolder(folder);
    const fs::path cabinetPath = folder / directives.cabinetFileName();

    GObjectPtr<GCabCabinet> cabinet = cabinetOf(directives);
    TemporaryCabinet temporary(cabinetPath);
    GObjectPtr<GOutputStream> stream = temporary.openStream();
    GError* error = nullptr;
    const std::string context = "cannot write cabinet \"" + cabinetPath.string() + "\"";
    throwIfFailed(gcab_cabinet_write_simple(cabinet.get(), stream.get(), nullptr, nullptr, nullptr, &error), error,
                  context);
    throwIfFailed(g_output_stream_close(stream.get(), nullptr, &error), error, context);
    temporary.commit();
    return cabinetPath;
}
