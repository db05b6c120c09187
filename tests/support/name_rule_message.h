// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The message for a folder or page name (kind "folder" or "page") outside the name rule.
inline QString nameRuleMessage(const QString& name, const QString& kind)
{
    return name + " is not a valid " + kind + " name\r\nA valid " + kind
           + " name may only contain\r\n\r\n lower case letters,\r\n digits,\r\n underscores(_) and dashes(-)";
}
