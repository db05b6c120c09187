// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the JPEG segment walk: any bytes must end in a size or
// one message, never in a crash, an out-of-bounds read or a hang. Fuzzed by
// scripts/fuzz-get-size; its seeds are replayed by ctest.
#include "platform/problem.h"
#include "imaging/jpeg_size.h"
#include "platform/messages.h"
#include "platform/session.h"

#include <QBuffer>
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {

// Counts messages instead of printing them.
class SilentMessageBoxes : public MessageBoxes {
public:
    void show(const QString&, MessageIcon) override { ++shown; }
    Answer askYesNo(const QString&, Answer) override { return Answer::No; }
    Answer askYesNoCancel(const QString&) override { return Answer::Cancel; }
    int shown = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SilentMessageBoxes boxes;
    static Session session([] {
        SessionServices services;
        services.messages = &boxes;
        return services;
    }());
    boxes.shown = 0;

    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    std::int32_t height = -1;
    std::int32_t width = -1;
    ProblemBoxes problems(boxes);
    Jpeg::readSize(buffer, QStringLiteral("fuzz.jpg"), height, width, problems, {});

    // A message always comes with no size; sizes are 16-bit.
    if (boxes.shown > 1 || (boxes.shown == 1 && (height != 0 || width != 0)) || height < 0 || height > 65535
        || width < 0 || width > 65535)
        std::abort();
    return 0;
}
