// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/page_document.h"

#include "base/line_end.h"
#include "base/runtime_error.h"
#include "editor/page_source_watch.h"
#include "pages/files.h"

#include <QCoreApplication>
#include <QPlainTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QString errorLines(const RuntimeError& error)
{
    return kCrLf + QCoreApplication::translate("PageDocument", "Error number %1").arg(error.number()) + kCrLf
           + error.description();
}

} // namespace

PageDocument::PageDocument(Session& session, QObject* parent)
    : QObject(parent), m_session(session), m_text(new QTextDocument(this))
{
    // The layout a plain text area asks of the document it shows.
    m_text->setDocumentLayout(new QPlainTextDocumentLayout(m_text));
    m_watch = new PageSourceWatch(
        session, {[this] { return m_path; }, [this] { return m_stored ? &m_stored->bytes : nullptr; }}, this);
}

QString PageDocument::body() const
{
    QString text = m_text->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

bool PageDocument::isChanged() const
{
    return m_text->isModified() || (!m_path.isEmpty() && !Files::fileExists(m_path));
}

void PageDocument::setChanged(bool changed) { m_text->setModified(changed); }

void PageDocument::startNew(PageType type)
{
    m_path.clear();
    m_stored.reset();
    m_storedBody.clear();
    m_type = std::int16_t(type);
}

void PageDocument::startRecovered(const QString& path, std::int16_t type, const QString& body)
{
    m_path = path;
    m_stored.reset();
    m_storedBody.clear();
    m_type = type;
    m_watch->watch();
    QTextCursor cursor(m_text);
    cursor.select(QTextCursor::Document);
    cursor.insertText(body);
    setChanged(true);
}

std::optional<QString> PageDocument::read(const QString& path)
{
    m_path = path;
    try {
        PageSourceFile::StoredPage stored = PageSourceFile::read(path);
        const PageType type =
            stored.lines.isEmpty() ? PageType::Invalid : PageTypes::pageTypeOfLine(stored.lines.first());
        m_type = std::int16_t(type);
        if (type == PageType::Invalid)
            return tr("Invalid ZEL Page");
        QString text;
        for (qsizetype i = 1; i < stored.lines.size(); ++i)
            text += stored.lines.at(i) + u'\n';
        m_text->setPlainText(text);
        setChanged(false);
        m_stored = std::move(stored);
        m_storedBody = body();
        m_watch->sourceStored();
        return std::nullopt;
    } catch (const RuntimeError& error) {
        if (error.isLocated())
            throw; // on its way to the fatal report
        return tr("Unable to read file %1").arg(path) + errorLines(error);
    }
}

std::optional<QString> PageDocument::write(const QString& path)
{
    // The text area turns a few characters into line ends (U+2028); a body
    // as it was loaded is the stored page whatever its lines.
    const QString text = body();
    PageSourceFile::StoredPage page =
        m_stored && text == m_storedBody
            ? *m_stored
            : PageSourceFile::compose(PageTypes::pageTypeDirective(m_type), text, m_stored);
    try {
        PageSourceFile::write(m_session, path, page.bytes);
    } catch (const RuntimeError& error) {
        if (error.isLocated())
            throw; // on its way to the fatal report
        return tr("Unable to write file %1").arg(path) + errorLines(error);
    }
    m_stored = std::move(page);
    m_storedBody = text;
    m_path = path;
    setChanged(false);
    m_watch->sourceStored();
    return std::nullopt;
}
