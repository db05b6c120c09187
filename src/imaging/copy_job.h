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
};

// Makes the copy now. Returns true when the copy is what the method asks for,
// false when resampling fell back to an unchanged copy. A copy that cannot be
// written raises RuntimeError. Safe to call from any thread once the image
// tool has been looked up (IrfanViewAvailable).
bool makeCopy(const CopyJob& job);

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
