#pragma once

namespace Jpeg {

// The most image tool runs a make starts at once, however many cores there are.
constexpr int MaxImageToolRuns = 8;

// How many image tool runs a make may have at once: one per core (at most
// MaxImageToolRuns) for the bundled zel-resample; for a tool set by the author
// ("ImageTool/program" in the settings) one, unless "ImageTool/parallel" is
// true, since an outside tool may not be safe to run twice at once.
int imageToolRuns();

} // namespace Jpeg
