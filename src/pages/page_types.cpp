// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/page_types.h"

#include "base/runtime_error.h"
#include "text/open_text_file.h"

namespace PageTypes {

PageType readPageType(TextFiles::InputFile& file)
{
    if (file.atEnd())
        return PageType::Invalid;
    return pageTypeOfLine(file.lineInput());
}

PageType pageTypeOfLine(const QString& line)
{
    if (line == QLatin1String("#branch"))
        return PageType::Branch;
    if (line == QLatin1String("#leaf"))
        return PageType::Leaf;
    if (line == QLatin1String("#root"))
        return PageType::Root;
    if (line == QLatin1String("#selector"))
        return PageType::Selector;
    return PageType::Invalid;
}

QString pageTypeDirective(std::int16_t code)
{
    switch (code) {
    case std::int16_t(PageType::Leaf):
        return QStringLiteral("#leaf");
    case std::int16_t(PageType::Branch):
        return QStringLiteral("#branch");
    case std::int16_t(PageType::Root):
        return QStringLiteral("#root");
    case std::int16_t(PageType::Selector):
        return QStringLiteral("#selector");
    default:
        return QStringLiteral("##");
    }
}

QString stripExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        Errors::raise(Errors::InvalidArgument);
    return path.left(dot);
}

QString pageHtmlPath(const QString& path) { return stripExtension(path) + QStringLiteral(".htm"); }

QString rootPageLink() { return QStringLiteral("root\\root") + QStringLiteral(".htm"); }

} // namespace PageTypes
