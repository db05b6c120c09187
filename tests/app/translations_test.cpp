// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translations.h"
#include "support/menu_access_keys.h"
#include "support/window_fixture.h"

#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

namespace {

using TranslationsTest = WindowTest;

// The language the program takes from the desktop's: its own translation where there is one, else English.
TEST(TranslationsLoading, TheDesktopsLanguageWhereTranslatedElseEnglish)
{
    const struct {
        const char* name;
        QLocale locale;
        QString language;
    } cases[] = {
        {"German of Germany", QLocale(QLocale::German, QLocale::Germany), QStringLiteral("de")},
        {"German of Austria", QLocale(QLocale::German, QLocale::Austria), QStringLiteral("de")},
        {"English, the texts' own language", QLocale(QLocale::English, QLocale::UnitedKingdom), QString()},
        {"a language without a translation", QLocale(QLocale::Finnish, QLocale::Finland), QString()},
        {"the C locale", QLocale::c(), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Translations translations(c.locale);
        EXPECT_EQ(translations.language(), c.language);
        EXPECT_EQ(QCoreApplication::translate("MainWindow", "&File"),
                  c.language.isEmpty() ? QStringLiteral("&File") : QStringLiteral("&Datei"));
    }
    EXPECT_EQ(QCoreApplication::translate("MainWindow", "&File"), QStringLiteral("&File"));
}

// The German program as an author sees it: menus, titles, labels, a question of a real command, Qt's own
// buttons; and every menu item keeps an access key of its own in German too.
TEST_F(TranslationsTest, TheGermanProgramShowsGermanWindowsAndQuestions)
{
    const Translations german(QLocale(QLocale::German, QLocale::Germany));
    MainWindow& window = mainWindow();
    const auto text = [&window](const char* name) {
        return window.findChild<QAction*>(QString::fromLatin1(name))->text();
    };
    const QString statusBefore = window.findChild<QLabel*>(QStringLiteral("statusKioskSystem"))->text();
    window.openKioskSystem(kiosk.folder());
    EditorWindow* changed = editorOn("news/today.zel", "#leaf\r\n");
    type(changed, QStringLiteral("#para\n"));
    const QStringList asked = withAnswers({Answer::Cancel}, [&] { trigger(&window, "makeAllPagesAction"); });
    EditorWindow* leaf = newEditor(1);
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);

    const struct {
        const char* name;
        QString shown;
        QString german;
    } cases[] = {
        {"File menu", window.findChild<QMenu*>(QStringLiteral("fileMenu"))->title(), QStringLiteral("&Datei")},
        {"Open Kiosk System", text("openKioskSystemAction"), QStringLiteral("Kiosksystem ö&ffnen...")},
        {"Create New Kiosk System", text("createNewKioskSystemAction"),
         QStringLiteral("&Neues Kiosksystem anlegen...")},
        {"Exit", text("exitAction"), QStringLiteral("&Beenden")},
        {"Tools menu", window.findChild<QMenu*>(QStringLiteral("toolsMenu"))->title(), QStringLiteral("E&xtras")},
        {"Make All Pages", text("makeAllPagesAction"), QStringLiteral("&Alle Seiten erstellen...")},
        {"status bar, no kiosk system", statusBefore, QStringLiteral("Kein Kiosksystem geöffnet")},
        {"status bar, open kiosk system", window.findChild<QLabel*>(QStringLiteral("statusKioskSystem"))->text(),
         QStringLiteral("Kiosksystem: ") + QDir::toNativeSeparators(kiosk.folder())},
        {"new leaf page's editor", leaf->windowTitle(), QStringLiteral("ZEL (Editor) Neue Blattseite[*]")},
        {"Make All's question about a changed page", asked.value(0),
         QStringLiteral("Eine Seite wurde geändert - möchten Sie sie zuerst speichern?\r\nnews\\today")},
        {"Qt's own Cancel button", buttons.button(QDialogButtonBox::Cancel)->text().remove(u'&'),
         QStringLiteral("Abbrechen")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.shown, c.german);
    }

    for (QMainWindow* shown : QList<QMainWindow*>{&window, leaf, changed})
        expectOwnAccessKeys(shown);
}

} // namespace
