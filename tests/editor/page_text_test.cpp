#include "support/window_fixture.h"

#include "platform/text_codec.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

using TextCodec::Encoding;

// The text a made content file shows in a browser told it is Windows-1252:
// decoded by the system's own converter, references and brackets resolved.
QString shownText(const QByteArray& html)
{
    QString text = QStringDecoder("windows-1252").decode(html);
    static const QRegularExpression reference(QStringLiteral("&#(\\d+);"));
    for (auto found = reference.match(text); found.hasMatch();) {
        const QString character = QStringView(QChar::fromUcs4(found.captured(1).toUInt())).toString();
        text.replace(found.capturedStart(), found.capturedLength(), character);
        found = reference.match(text, found.capturedStart() + character.size());
    }
    return text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"));
}

// The lines of the leaf paragraph in a made content file.
QStringList paragraphLines(const QString& contentPath)
{
    const QStringList lines = TextCodec::splitLines(shownText(readBytes(contentPath)));
    const qsizetype start = lines.indexOf(QStringLiteral("<p class=\"leaf\">"));
    const qsizetype end = lines.indexOf(QStringLiteral("</p>"), start);
    return start < 0 || end < 0 ? QStringList() : lines.mid(start + 1, end - start - 1);
}

const struct StoredForm {
    const char* name;
    QByteArray bytes;
} kForms[] = {
    {"new page", {}},
    {"Windows-1252, CR LF", "#leaf\r\n#para\r\nCaf\xe9\r\n"},
    {"UTF-8, LF", "#leaf\n#para\nCaf\xc3\xa9\n"},
    {"UTF-8 with byte order mark, CR", "\xef\xbb\xbf#leaf\r#para\rCaf\xc3\xa9\r"},
};

class PageTextTest : public WindowTest {
protected:
    // Saves the editor's page as news/page.zel, opens it in a second editor and makes it there: the second editor
    // shows the same body, and the made page the lines after "#para" as its paragraph.
    void expectSavedOpenedAndMade(frmEdit* editor)
    {
        ASSERT_TRUE(editor->writePageFile(kiosk.path("news/page.zel")));
        auto* reader = new frmEdit(workbench);
        ASSERT_TRUE(reader->editPage(kiosk.path("news/page.zel")));
        EXPECT_TRUE(reader->bodyText() == editor->bodyText());
        trigger(reader, "mnuMakePage");
        const QString body = reader->bodyText();
        EXPECT_TRUE(paragraphLines(kiosk.path("news/page_con.htm")).join(u'\n') + u'\n'
                    == body.mid(body.indexOf("#para\n") + 6));
        closeEditors();
    }
};

// Every pair of Windows-1252 characters, and characters beyond it, in a page of each stored form: the page keeps
// its encoding, but a Windows-1252 page becomes UTF-8 where its text is beyond Windows-1252 or its bytes would
// also read as UTF-8 (else it would not read back the same). The lines are grouped by that encoding, one page per
// group, written by the editor; a second editor shows what was saved and the made page shows it too.
TEST_F(PageTextTest, EveryPairSavedByTheEditorOpensAndMakesTheSame)
{
    ASSERT_TRUE(QDir().mkpath(kiosk.path("news")));
    for (const StoredForm& form : kForms) {
        std::optional<PageSourceFile::StoredPage> stored;
        if (!form.bytes.isEmpty())
            stored = PageSourceFile::parse(form.bytes);
        const Encoding kept = stored ? stored->encoding : Encoding::Windows1252;
        std::map<Encoding, QStringList> groups;
        QStringList misplaced;
        for (int first = 0; first < 256; ++first)
            for (int second = 0; second < 256; ++second) {
                if (first == '\r' || first == '\n' || second == '\r' || second == '\n')
                    continue;
                const QByteArray bytes = QByteArray("x") + char(first) + char(second);
                const QString line = QStringDecoder("windows-1252").decode(bytes);
                QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
                (void)QString(utf8.decode(bytes));
                const bool readsAsUtf8 = !utf8.hasError() && (first >= 0x80 || second >= 0x80);
                const Encoding expected = kept == Encoding::Windows1252 && readsAsUtf8 ? Encoding::Utf8 : kept;
                if (PageSourceFile::compose("#leaf", "#para\n" + line + u'\n', stored).encoding != expected)
                    misplaced.append(QString::number(first) + u',' + QString::number(second));
                groups[expected].append(line);
            }
        EXPECT_EQ(misplaced.mid(0, 5), QStringList()) << form.name;
        groups[kept == Encoding::Windows1252 ? Encoding::Utf8 : kept].append(QStringLiteral("\u0394 \U0001F600"));
        for (const auto& [encoding, lines] : groups) {
            SCOPED_TRACE(testing::Message() << form.name << " written as encoding " << int(encoding));
            frmEdit* editor = form.bytes.isEmpty() ? newEditor(1) : editorOn("news/page.zel", form.bytes);
            editor->txtContent()->setPlainText("#para\n" + lines.join(u'\n') + u'\n');
            expectSavedOpenedAndMade(editor);
            EXPECT_EQ(TextCodec::decodeWithEncoding(readBytes(kiosk.path("news/page.zel"))).encoding, encoding);
        }
    }
    EXPECT_EQ(kiosk.messages.texts(), QStringList());
}

} // namespace
