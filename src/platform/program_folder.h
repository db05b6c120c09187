#pragma once

#include <QString>

// The folder of the running executable, ending with the separator. It holds
// Template/ and the helper programs (zel-resample, zel-makecab).
QString programFolder();

// Tests point "beside the program" elsewhere; an empty path restores the real one.
void setProgramFolderOverride(const QString& folder);
