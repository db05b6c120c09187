// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The copy record of an images folder: copy-record.txt holds one as a make
// writes it, every field of its entries distinct, so that a field written to
// or read from another column shows. It reads back whole and is written again
// byte for byte; cut or damaged anywhere it is not trusted at all.
#include "imaging/copy_record.h"

#include "support/kiosk_fixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CopyRecord, StoredRecordReadsBackAndDamageAnywhereIsNeverTrustedInPart)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/" + Jpeg::CopyRecord::FileName;
    const QByteArray whole = readBytes(ZEL_SOURCE_DIR "/tests/imaging/copy-record.txt");
    writeBytes(path, whole);
    Jpeg::CopyRecord record = Jpeg::CopyRecord::load(dir.path());
    record.put("tab\tname.jpg", record.find("a00001.jpg").value()); // cannot be written on one line: not recorded
    EXPECT_EQ(record.size(), 3);
    EXPECT_FALSE(record.changed());
    ASSERT_TRUE(record.save(nullptr));
    EXPECT_EQ(readBytes(path).toStdString(), whole.toStdString());

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
