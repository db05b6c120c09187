// The copy record of an images folder: a record read back equals the one saved;
// a record cut or damaged anywhere is either read whole or not trusted at all.
#include "imaging/copy_record.h"

#include "support/kiosk_fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every field distinct, so that a field written to or read from another column shows.
Jpeg::CopyRecordEntry entry(int i)
{
    return {i % 2 ? "resample" : "copy",
            100 + i,
            200 + i,
            i % 2 ? "/opt/zel/zel-resample|81920:1:2:3" : "-",
            QString("/k/walk/p%1 ä.jpg").arg(i),
            0xFEDCBA9876543210ULL + i,
            {4000000 + i, 1700000000123456789LL, 1700000000987654321LL, 42u + i},
            1800000000000000000LL + i,
            7u + i,
            {123456 + i, 5, 6, 7},
            1800000000000000001LL + i};
}

TEST(CopyRecord, SavedRecordReadsBackAndDamageAnywhereIsNeverTrustedInPart)
{
    QTemporaryDir dir;
    Jpeg::CopyRecord record = Jpeg::CopyRecord::load(dir.path());
    EXPECT_EQ(record.size(), 0);
    for (int i = 0; i < 3; ++i)
        record.put(QString("a%1.jpg").arg(i, 5, 10, QChar('0')), entry(i));
    record.put("tab\tname.jpg", entry(9)); // cannot be written on one line: not recorded
    ASSERT_TRUE(record.changed());
    ASSERT_TRUE(record.save(nullptr));

    const Jpeg::CopyRecord back = Jpeg::CopyRecord::load(dir.path());
    EXPECT_EQ(back.size(), 3);
    EXPECT_FALSE(back.changed());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(back.find(QString("a%1.jpg").arg(i, 5, 10, QChar('0'))), entry(i)) << i;

    const QString path = dir.path() + "/" + Jpeg::CopyRecord::FileName;
    const QByteArray whole = readBytes(path);
    for (qsizetype length = 0; length < whole.size(); ++length) {
        writeBytes(path, whole.left(length));
        EXPECT_EQ(Jpeg::CopyRecord::load(dir.path()).size(), 0) << length;
    }
    for (qsizetype at = 0; at < whole.size(); at += 5) {
        QByteArray damaged = whole;
        damaged[at] = char(damaged[at] ^ 0x01);
        writeBytes(path, damaged);
        EXPECT_EQ(Jpeg::CopyRecord::load(dir.path()).size(), 0) << at;
    }
}

} // namespace
