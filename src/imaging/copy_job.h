#pragma once

#include <QString>
#include <cstdint>

namespace Jpeg {

// One picture copy as scaleImage decides it: the source unchanged, or
// resampled by the image tool to height x width (the source unchanged when the
// tool fails or there is none).
struct CopyJob {
    enum class Method { Unchanged, Resample };
    QString source;
    QString destination;
    std::int32_t height = 0;
    std::int32_t width = 0;
    Method method = Method::Unchanged;
    // Follows the text of a message about this copy, so that it names the
    // page source and line the picture belongs to ("" outside a make).
    QString messageContext;
};

enum class CopyResult {
    AsAsked,   // the copy the method asks for
    Unchanged, // resampling failed: the source copied unchanged
    None,      // the picture cannot be read: no copy, an older one removed
};

// Makes the copy now. When the tool says the picture itself cannot be read,
// shows "Picture ... could not be resampled: reason" and writes no copy; when
// the tool fails otherwise (crash, time limit, cannot start), copies the
// source unchanged and says so; without a tool, copies it silently. A copy
// that cannot be written or removed raises RuntimeError. Safe to call from any
// thread once the image tool has been looked up (IrfanViewAvailable).
CopyResult makeCopy(const CopyJob& job);

// Removes the file at path when there is one; RuntimeError 75 naming it when that fails.
void removeCopy(const QString& path);

// Takes over the copies of a make (several at once, or none needed). While a
// sink is installed, placeCopy hands every job to it.
class CopySink {
public:
    virtual ~CopySink() = default;
    virtual void submit(const CopyJob& job) = 0;
};

// Installs the sink (not owned); nullptr makes every copy in place again.
void setCopySink(CopySink* sink);

// Hands the job to the installed sink, or makes the copy now.
void placeCopy(const CopyJob& job);

} // namespace Jpeg
