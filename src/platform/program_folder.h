#pragma once

#include <QString>

// The folder beside the program, ending with the separator: the current
// session's (the running executable's unless the session was given another).
// It holds Template/ and the helper programs (zel-resample, zel-makecab).
QString programFolder();
