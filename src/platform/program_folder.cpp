#include "platform/program_folder.h"

#include "platform/session.h"

QString programFolder() { return Session::current().programFolder(); }
