#pragma once

#include "directive_file.h"

#include <filesystem>

// Writes the one cabinet the directives describe: every listed file, stored
// under its listed name, in a single folder compressed with MSZIP or stored.
// Every listed file must exist before anything is written. The output folder is
// created when missing. The cabinet is written to a temporary file in the output
// folder and renamed over an older cabinet of the same name only when complete,
// so a failure leaves neither a partial cabinet nor the temporary file.
// A list without files gives a valid cabinet holding no files.
// Returns the cabinet's path; throws MakecabError naming the file at fault.
std::filesystem::path writeCabinet(const CabinetDirectives& directives);
