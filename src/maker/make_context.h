// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "maker/page_maker.h"
#include "platform/problem.h"

class KioskSystem;
class OutputFolders;
namespace Jpeg {
class CopySink;
}

// What the pages of one make share with the make: the kiosk system they
// belong to, whether files are written, the output folders prepared so far,
// who is told what a page uses, where picture copies go (nullptr when files
// are not written), and where problems are reported.
struct MakeContext {
    const KioskSystem& kiosk;
    bool writeOutput;
    OutputFolders& folders;
    const PageMaker::UseHandler& use;
    Jpeg::CopySink* copies;
    ProblemSink& problems;
};
