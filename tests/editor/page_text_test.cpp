// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window_fixture.h"

#include "text/text_codec.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

using TextCodec::Encoding;
using PageTextTest = WindowTest;

// The leaf paragraph of a made content file as a browser told it is Windows-1252 shows it: decoded by the system's
// own converter, references and brackets resolved, its lines ending in LF.
QString shownParagraph(const QString& contentPath)
{
    QString text = QStringDecoder("windows-1252").decode(readBytes(contentPath));
    const QString start = "<p class=\"leaf\">\r\n";
    text = text.mid(text.indexOf(start) + start.size());
    text.truncate(text.indexOf("</p>"));
    static const QRegularExpression reference(QStringLiteral("&#(\\d+);"));
    for (auto found = reference.match(text); found.hasMatch();) {
        const QString character = QStringView(QChar::fromUcs4(found.captured(1).toUInt())).toString();
        text.replace(found.capturedStart(), found.capturedLength(), character);
        found = reference.match(text, found.capturedStart() + character.size());
    }
    return text.replace("&lt;", "<").replace("&gt;", ">").replace("\r\n", "\n");
}

// Every pair of Windows-1252 characters, and characters beyond it, in a page of each stored form: the page keeps
// its encoding, but a Windows-1252 page becomes UTF-8 where its text is beyond Windows-1252 or its bytes would
// also read as UTF-8 (else it would not read back the same). The lines are grouped by that encoding, one page per
// group, written by the editor as news/page.zel; a second editor opens it and shows what was saved, and the page
// it makes shows the lines after "#para" as its paragraph.
TEST_F(PageTextTest, EveryPairSavedByTheEditorOpensAndMakesTheSame)
{
    ASSERT_TRUE(QDir().mkpath(kiosk.path("news")));
    const std::pair<const char*, QByteArray> forms[] = {
        {"new page", {}},
        {"Windows-1252, CR LF", "#leaf\r\n#para\r\nCaf\xe9\r\n"},
        {"UTF-8, LF", "#leaf\n#para\nCaf\xc3\xa9\n"},
        {"UTF-8 with byte order mark, CR", "\xef\xbb\xbf#leaf\r#para\rCaf\xc3\xa9\r"},
    };
    for (const auto& [form, bytes] : forms) {
        const auto stored = bytes.isEmpty() ? std::nullopt : std::optional(PageSourceFile::parse(bytes));
        const Encoding kept = stored ? stored->encoding : Encoding::Windows1252;
        std::map<Encoding, QStringList> groups;
        QStringList misplaced;
        for (int first = 0; first < 256; ++first)
            for (int second = 0; second < 256; ++second) {
                if (first == '\r' || first == '\n' || second == '\r' || second == '\n')
                    continue;
                const QByteArray pair = QByteArray("x") + char(first) + char(second);
                const QString line = QStringDecoder("windows-1252").decode(pair);
                const bool readsAsUtf8 = (first >= 0x80 || second >= 0x80) && QString::fromUtf8(pair).toUtf8() == pair;
                const Encoding expected = kept == Encoding::Windows1252 && readsAsUtf8 ? Encoding::Utf8 : kept;
                if (PageSourceFile::compose("#leaf", "#para\n" + line + u'\n', stored).encoding != expected)
                    misplaced.append(QString::number(first) + u',' + QString::number(second));
                groups[expected].append(line);
            }
        EXPECT_EQ(misplaced.mid(0, 5), QStringList()) << form;
        groups[kept == Encoding::Windows1252 ? Encoding::Utf8 : kept].append(QStringLiteral("\u0394 \U0001F600"));
        for (const auto& [encoding, lines] : groups) {
            SCOPED_TRACE(testing::Message() << form << " written as encoding " << int(encoding));
            EditorWindow* editor = bytes.isEmpty() ? newEditor(1) : editorOn("news/page.zel", bytes);
            editor->textArea()->setPlainText("#para\n" + lines.join(u'\n') + u'\n');
            ASSERT_TRUE(editor->writePageFile(kiosk.path("news/page.zel")));
            EXPECT_EQ(TextCodec::decodeWithEncoding(readBytes(kiosk.path("news/page.zel"))).encoding, encoding);
            auto* reader = new EditorWindow(workbench);
            ASSERT_TRUE(reader->editPage(kiosk.path("news/page.zel")));
            EXPECT_TRUE(reader->bodyText() == editor->bodyText());
            trigger(reader, "makePageAction");
            EXPECT_TRUE(shownParagraph(kiosk.path("news/page_con.htm")) == lines.join(u'\n') + u'\n');
            closeEditors();
        }
    }
    EXPECT_EQ(kiosk.messages.texts(), QStringList());
}

} // namespace
