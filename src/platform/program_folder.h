#pragma once

#include <QString>

// The folder beside the program, ending with the separator: the current
// session's (the running executable's unless the session was given another).
// It holds the helper programs (zel-resample, zel-makecab) and, in a build,
// Template/.
QString programFolder();

// The Template folder copied into every new kiosk system (no final separator):
// "Template" in the program folder when it is there (a build), otherwise the
// installed one in the data folder (programFolder/../../share/zel/Template for
// /usr/lib/zel). When neither exists, the one beside the program, so that the
// failure names the usual place.
QString templateFolder();
