// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/directive_references.h"

#include "pages/files.h"
#include "pages/page_sources.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace DirectiveReferences {

namespace {

struct Token {
    int start = 0;
    int end = 0; // one past the last character (the closing quote included)
    QString text;
    bool quoted = false;
};

// The blank-separated arguments after the directive's name, from the
// position of the first blank; a quoted token may hold blanks.
QList<Token> tokensOf(const QString& line, int from)
{
    QList<Token> tokens;
    int i = from;
    const int size = int(line.size());
    while (i < size) {
        while (i < size && line.at(i) == u' ')
            ++i;
        if (i >= size)
            break;
        Token token;
        token.start = i;
        if (line.at(i) == u'"') {
            token.quoted = true;
            const qsizetype close = line.indexOf(u'"', i + 1);
            token.end = close < 0 ? size : int(close) + 1;
            token.text = line.mid(i + 1, (close < 0 ? size : int(close)) - i - 1);
        } else {
            qsizetype blank = line.indexOf(u' ', i);
            token.end = blank < 0 ? size : int(blank);
            token.text = line.mid(i, token.end - i);
        }
        tokens.append(token);
        i = token.end;
    }
    return tokens;
}

QString directiveName(const QString& line)
{
    if (!line.startsWith(u'#'))
        return {};
    const qsizetype blank = line.indexOf(u' ');
    return line.mid(1, (blank < 0 ? line.size() : blank) - 1).toLower();
}

// The kind of the argument at index for the directive; None for any other.
Kind argumentKind(const QString& directive, int index)
{
    if (directive == QLatin1String("button"))
        return index == 0 ? Kind::PageReference : Kind::None;
    if (directive == QLatin1String("image"))
        return index == 0 ? Kind::Picture : Kind::None;
    if (directive == QLatin1String("item"))
        return index == 0 ? Kind::Picture : index == 1 ? Kind::PageReference : Kind::None;
    return Kind::None;
}

} // namespace

Part typedAt(const QString& line, int position)
{
    const QString before = line.left(position);
    if (!before.startsWith(u'#'))
        return {};
    const qsizetype blank = before.indexOf(u' ');
    if (blank < 0)
        return {Kind::Directive, 1, int(before.size()) - 1, before.mid(1)};
    const QString directive = directiveName(before);
    const QList<Token> tokens = tokensOf(before, int(blank));
    // After a blank (or right after the name's blank) a new argument begins.
    const bool inToken = !tokens.isEmpty() && tokens.last().end == before.size();
    const int index = inToken ? int(tokens.size()) - 1 : int(tokens.size());
    const Kind kind = argumentKind(directive, index);
    if (kind == Kind::None)
        return {};
    if (!inToken)
        return {kind, position, 0, QString()};
    const Token& token = tokens.last();
    return {kind, token.start, token.end - token.start, before.mid(token.start)};
}

Part namedAt(const QString& line, int position)
{
    const QString directive = directiveName(line);
    const qsizetype blank = line.indexOf(u' ');
    if (directive.isEmpty() || blank < 0)
        return {};
    const QList<Token> tokens = tokensOf(line, int(blank));
    int index = -1;
    if (position <= blank) {
        index = directive == QLatin1String("item") ? 1 : 0; // on the name: what the line is about
    } else {
        for (int i = 0; i < tokens.size(); ++i)
            if (position >= tokens[i].start && position <= tokens[i].end)
                index = i;
    }
    if (index < 0 || index >= tokens.size())
        return {};
    const Kind kind = argumentKind(directive, index);
    if (kind == Kind::None)
        return {};
    const Token& token = tokens[index];
    return {kind, token.start, token.end - token.start, token.text};
}

QStringList directiveNames(PageType type)
{
    switch (type) {
    case PageType::Root:
        return {QStringLiteral("title"), QStringLiteral("para"), QStringLiteral("html"),  QStringLiteral("break"),
                QStringLiteral("image"), QStringLiteral("alt"),  QStringLiteral("button")};
    case PageType::Branch:
        return {QStringLiteral("title"), QStringLiteral("para"), QStringLiteral("html"),   QStringLiteral("break"),
                QStringLiteral("image"), QStringLiteral("alt"),  QStringLiteral("button"), QStringLiteral("show")};
    case PageType::Leaf:
        return {QStringLiteral("title"), QStringLiteral("head"),  QStringLiteral("para"), QStringLiteral("html"),
                QStringLiteral("break"), QStringLiteral("image"), QStringLiteral("alt"),  QStringLiteral("show")};
    case PageType::Selector:
        return {QStringLiteral("title"), QStringLiteral("alt"), QStringLiteral("item"), QStringLiteral("show")};
    default:
        return {};
    }
}

QStringList pageReferences(const QString& kioskFolder)
{
    QStringList references;
    const QDir kiosk(kioskFolder);
    for (const QString& folder : kiosk.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        for (const QString& file : PageSources::fileNamesIn(kiosk.absoluteFilePath(folder)))
            references.append(folder + u'\\' + PageSources::pageNameOf(file));
    return references;
}

QStringList pictureNames(const QString& pageFolder)
{
    QStringList names;
    if (pageFolder.isEmpty())
        return names;
    const QDir folder(pageFolder);
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (Files::hasPictureExtension(name))
            names.append(name.contains(u' ') ? u'"' + name + u'"' : name);
    }
    return names;
}

QString pageSourceOf(const QString& reference, const QString& kioskFolder, const QString& pageFolder)
{
    static const QRegularExpression name(QStringLiteral("^[a-z0-9_-]+$"));
    qsizetype separator = reference.indexOf(u'\\');
    if (separator < 0)
        separator = reference.indexOf(u'/');
    if (separator < 0) {
        if (pageFolder.isEmpty() || !name.match(reference).hasMatch())
            return {};
        return PageSources::pathOf(pageFolder, reference);
    }
    const QString folder = reference.left(separator);
    const QString page = reference.mid(separator + 1);
    if (!name.match(folder).hasMatch() || !name.match(page).hasMatch())
        return {};
    return PageSources::pathOf(QDir(kioskFolder).absoluteFilePath(folder), page);
}

} // namespace DirectiveReferences
