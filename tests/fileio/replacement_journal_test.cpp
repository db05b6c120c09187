// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Groups that a dead run left half renamed, recorded in a journal: completed
// only from a whole journal and whole temporaries, and never swept away while
// a journal still needs them.
#include "fileio/replacement_journal.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// A dead run's group of three files: a.htm was renamed already, b and c wait.
class Journal : public ::testing::Test {
public:
    Journal()
    {
        reset();
        const fileio::JournalGroup group = {entry("aaaaaa", "a", "new a"), entry("bbbbbb", "b", "new b"),
                                            entry("cccccc", "c", "new c")};
        const std::string written = fileio::writeJournal(folder(), {group}, folder() + "/a.htm", nullptr);
        journal = readBytes(QString::fromStdString(written));
        QFile::remove(QString::fromStdString(written));
        reset();
    }
    // The group as a dead run left it, its journal written.
    void reset()
    {
        for (const QString& name : QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            if (!QFile::remove(path(name)))
                QDir(path(name)).removeRecursively();
        writeBytes(path("a.htm"), "new a");
        for (const QString& name : QStringList{"b", "c"}) {
            writeBytes(path(name + ".htm"), "old " + name.toUtf8());
            writeBytes(path(".zel-tmp-999999999-" + name.repeated(6)), "new " + name.toUtf8());
        }
        writeBytes(journalPath, journal);
    }
    static fileio::JournalEntry entry(const char* suffix, const QString& target, const char* bytes)
    {
        return {std::string(".zel-tmp-999999999-") + suffix, (target + ".htm").toStdString(), std::string(bytes).size(),
                fileio::contentHash(bytes)};
    }
    std::string folder() const { return dir.path().toStdString(); }
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    QStringList contents() const
    {
        QStringList texts;
        for (const QString& name : QStringList{"a", "b", "c"})
            texts.append(QString::fromUtf8(readBytes(path(name + ".htm"))));
        return texts;
    }
    QStringList leftovers() const { return QDir(dir.path()).entryList({".zel-*"}, QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    QString journalPath = path(".zel-journal-999999999-jjjjjj");
    QByteArray journal;
};

TEST_F(Journal, AWholeJournalCompletesItsGroup)
{
    fileio::removeDeadTemporaries(folder());
    EXPECT_EQ(contents(), QStringList({"new a", "new b", "new c"}));
    EXPECT_EQ(leftovers(), QStringList());
}

// A journal cut short anywhere is no record: nothing is renamed, and the
// temporaries and the journal go as any dead run's.
TEST_F(Journal, AJournalCutShortAnywhereRenamesNothing)
{
    for (qsizetype size = 0; size < journal.size(); ++size) {
        SCOPED_TRACE(size);
        writeBytes(path(".zel-tmp-999999999-bbbbbb"), "new b");
        writeBytes(journalPath, journal.left(size));
        EXPECT_EQ(fileio::completeInterruptedGroups(folder()), std::set<std::string>());
        EXPECT_EQ(contents(), QStringList({"new a", "old b", "old c"}));
        EXPECT_FALSE(QFile::exists(journalPath));
    }
}

TEST_F(Journal, FaultsLeaveTheGroupOrKeepWhatItNeeds)
{
    const struct {
        const char* name;
        std::function<void(Journal&)> fault;
        QStringList contents;
        QStringList leftovers;
    } rows[] = {
        {"a temporary changed",
         [](Journal& t) { writeBytes(t.path(".zel-tmp-999999999-cccccc"), "new C"); },
         {"new a", "old b", "old c"},
         {}},
        {"a flipped byte in the journal",
         [](Journal& t) {
             QByteArray bytes = t.journal;
             bytes[20] = char(bytes[20] ^ 1);
             writeBytes(t.journalPath, bytes);
         },
         {"new a", "old b", "old c"},
         {}},
        {"a run still working",
         [](Journal& t) {
             QFile::rename(t.journalPath, t.path(".zel-journal-" + QString::number(getpid()) + "-jjjjjj"));
         },
         // Its temporaries carry a dead run's number here, so the sweep takes them.
         {"new a", "old b", "old c"},
         {".zel-journal-" + QString::number(getpid()) + "-jjjjjj"}},
        {"a target that cannot be replaced",
         [](Journal& t) {
             QFile::remove(t.path("c.htm"));
             QDir().mkpath(t.path("c.htm/inside"));
         },
         {"new a", "new b", ""},
         {".zel-journal-999999999-jjjjjj", ".zel-tmp-999999999-cccccc"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.fault(*this);
        fileio::removeDeadTemporaries(folder());
        EXPECT_EQ(contents(), row.contents);
        EXPECT_EQ(leftovers(), row.leftovers);
        reset();
    }
}

} // namespace
