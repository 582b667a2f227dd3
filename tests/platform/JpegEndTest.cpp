#include "platform/JpegEnd.h"
#include "platform/PictureCorpus.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

bool reachesEnd(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return JpegReachesEndOfImage(buffer);
}

// An APP1 segment holding a complete little JPEG, as cameras embed their thumbnails.
QByteArray withThumbnail(const QByteArray& jpeg)
{
    const QByteArray thumbnail = EncodeJpeg(QuarteredImage(QSize(16, 16)));
    const QByteArray payload = QByteArray("Exif\0\0", 6) + thumbnail;
    const int length = int(payload.size()) + 2;
    return jpeg.left(2) + "\xff\xe1" + char(length >> 8) + char(length & 0xff) + payload + jpeg.mid(2);
}

TEST(JpegReachesEndOfImage, TellsACompleteFileFromOneCutShort)
{
    const QByteArray baseline = EncodeJpeg(QuarteredImage(QSize(320, 200)), 90);
    const QByteArray progressive = EncodeJpeg(QuarteredImage(QSize(320, 200)), 90, true);
    const QByteArray camera = withThumbnail(baseline);
    struct Case {
        const char* what;
        QByteArray bytes;
        bool complete;
    };
    const Case cases[] = {
        {"baseline", baseline, true},
        {"progressive", progressive, true},
        {"with a thumbnail", camera, true},
        {"with data after the end", baseline + QByteArray(500, '\x55') + "\xff\xd8", true},
        {"baseline cut in the scan", baseline.left(baseline.size() - 40), false},
        {"progressive cut between scans", progressive.left(progressive.size() / 2), false},
        {"cut just before the end marker", baseline.chopped(2), false},
        {"cut after the thumbnail's end marker", camera.left(camera.indexOf("\xff\xd9") + 2 + 100), false},
        {"cut inside a segment's length", baseline.left(5), false},
        {"not a JPEG", QByteArray("BM...."), false},
        {"empty", QByteArray(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reachesEnd(c.bytes), c.complete) << c.what;
}

TEST(JpegReachesEndOfImage, LeavesTheDeviceWhereItWas)
{
    QByteArray bytes = EncodeJpeg(QuarteredImage(QSize(64, 64)));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(JpegReachesEndOfImage(buffer));
    EXPECT_EQ(buffer.pos(), 0);
}

} // namespace
