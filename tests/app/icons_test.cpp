// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icons on a screen of device pixel ratio 2: each gives a
// pixmap of twice the pixels, drawn at that size rather than enlarged from
// the one for ratio 1.
#include "app/start_view.h"
#include "dialogs/directory_dialog.h"
#include "support/kiosk_fixture.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The mean difference of two pictures' colour channels (0 to 255).
double difference(const QImage& first, const QImage& second)
{
    const QImage a = first.convertToFormat(QImage::Format_ARGB32);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q))
                   + std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * a.width() * a.height());
}

} // namespace

TEST(IconsTest, EveryIconIsDrawnAtTwiceThePixelsOnAScreenOfRatioTwo)
{
    QTemporaryDir kiosk;
    copySampleKiosk(kiosk.path());
    const QIcon windowIcon(QStringLiteral(ZEL_SOURCE_DIR "/packaging/zel-editor.svg"));
    const struct {
        const char* name;
        std::function<QPixmap(qreal ratio)> draw;
    } rows[] = {
        {"the window icon", [&](qreal ratio) { return windowIcon.pixmap(QSize(32, 32), ratio); }},
        {"the start view's picture of a recent kiosk system",
         [&](qreal ratio) {
             return QIcon(StartView::rootPictureOf(kiosk.path(), QSize(96, 64), ratio)).pixmap(QSize(96, 64), ratio);
         }},
        {"the directory dialog's open folder",
         [](qreal ratio) { return DirectoryDialog::openFolderIcon().pixmap(QSize(16, 16), ratio); }},
        {"the directory dialog's closed folder",
         [](qreal ratio) { return DirectoryDialog::closedFolderIcon().pixmap(QSize(16, 16), ratio); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QPixmap single = row.draw(1);
        const QPixmap twice = row.draw(2);
        ASSERT_FALSE(single.isNull());
        EXPECT_EQ(twice.devicePixelRatio(), 2);
        EXPECT_EQ(twice.size(), single.size() * 2);
        const QImage enlarged = single.toImage().scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_GT(difference(twice.toImage(), enlarged), 1.0) << "the picture for ratio 1, enlarged";
    }
}
