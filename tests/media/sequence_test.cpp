#include "media/mediainfo.h"
#include "media/probe.h"

#include <QColor>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Numbered files (001.png ... 030.png) are described one by one: the library on its own would
// take the first as the start of a merged sequence and report the size of them all.
TEST(Probe, NumberedFilesAreNotMergedIntoOneSequence) {
    QTemporaryDir dir;
    for (int i = 1; i <= 30; ++i) {
        QImage image(32, 24, QImage::Format_RGB32);
        image.fill(QColor(i * 8, 0, 0));
        ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("%1.png").arg(i, 3, 10, QLatin1Char('0')))));
    }
    const QString first = dir.filePath(QStringLiteral("001.png"));
    const QString size = QString::number(QFileInfo(first).size());

    TMediaInfo merging; // the library's own default, for comparison
    ASSERT_TRUE(merging.Open(first));
    EXPECT_NE(merging.Get(TStreamKind::General, "FileSize"), size);

    const TFileItem item = ProbeFileItem(first);
    EXPECT_EQ(item.FileSize, size);
    EXPECT_EQ(item.Format, QStringLiteral("PNG"));
    EXPECT_EQ(item.VideoCount, ProbeText(QString()));
    EXPECT_FALSE(MediaInfoReport(first).contains(QStringLiteral("030.png")));
}
