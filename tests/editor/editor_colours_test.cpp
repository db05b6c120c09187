// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/editor_colours.h"
#include "support/window_fixture.h"

#include <QStyle>
#include <QStyleFactory>
#include <QTextBlock>
#include <QTextLayout>
#include <memory>

namespace {

using EditorColoursTest = WindowTest;

// The colours drawn on the text's and the margin's background against light and dark palettes: each at least 4.5:1, and
// the light theme keeps its directive blue. An editor whose palette turns dark draws its directives and comments anew.
TEST_F(EditorColoursTest, EveryColourReadableOnLightAndDarkBackgrounds)
{
    EXPECT_NEAR(EditorColours::contrast(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_NEAR(EditorColours::contrast(QColor(0x1f, 0x3f, 0xa8), QColor(0x1e, 0x1e, 0x1e)), 1.86, 0.01);
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    const struct {
        const char* name;
        QColor background;
    } rows[] = {
        {"light Fusion", fusion->standardPalette().color(QPalette::Base)},
        {"light Fusion margin", fusion->standardPalette().color(QPalette::AlternateBase)},
        {"dark desktop", QColor(0x1e, 0x1e, 0x1e)},
        {"dark margin", QColor(0x2d, 0x2d, 0x2d)},
        {"mid grey", QColor(0x80, 0x80, 0x80)},
        {"dark blue", QColor(0x10, 0x20, 0x60)},
        {"black", Qt::black},
        {"white", Qt::white},
    };
    for (const auto& row : rows)
        for (const QColor& colour : {EditorColours::directive(row.background), EditorColours::comment(row.background),
                                     EditorColours::problem(row.background),
                                     // a line number in the light theme's half-transparent grey, left by a dark theme
                                     EditorColours::lineNumber(QColor(0, 0, 0, 128), row.background)})
            EXPECT_GE(EditorColours::contrast(colour, row.background), EditorColours::kMinimumContrast)
                << row.name << ' ' << colour.name().toStdString();
    EXPECT_EQ(EditorColours::directive(Qt::white), QColor(0x1f, 0x3f, 0xa8));

    EditorWindow* editor = editorOn("news/today.zel", "#leaf\r\n#title Today\r\n# a note\r\n");
    QPalette dark = editor->textArea()->palette();
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
    editor->textArea()->setPalette(dark);
    for (int line : {0, 1}) {
        const QList<QTextLayout::FormatRange> formats =
            editor->textArea()->document()->findBlockByNumber(line).layout()->formats();
        ASSERT_EQ(formats.size(), 1) << line;
        EXPECT_GE(EditorColours::contrast(formats[0].format.foreground().color(), dark.color(QPalette::Base)),
                  EditorColours::kMinimumContrast)
            << line;
    }
}

} // namespace
