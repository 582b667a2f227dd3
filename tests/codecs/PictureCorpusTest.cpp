#include "fakes/TestPictures.h"
#include "codecs/PictureCorpus.h"
#include "codecs/PictureDecoder.h"
#include "core/Failure.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QRgb pixelAt(const Picture& picture, QPointF at)
{
    const int x = std::min(picture.width - 1, int(at.x() * picture.width));
    const int y = std::min(picture.height - 1, int(at.y() * picture.height));
    return picture.row(y)[x];
}

bool near(QRgb a, QRgb b)
{
    constexpr int Tolerance = 24; // JPEG's loss on flat colour
    return std::abs(qRed(a) - qRed(b)) <= Tolerance && std::abs(qGreen(a) - qGreen(b)) <= Tolerance
           && std::abs(qBlue(a) - qBlue(b)) <= Tolerance && qAlpha(a) == 255;
}

void expectLoadsUpright(const CorpusPicture& expected, const QString& path)
{
    const Picture picture = DecodePictureFile(path, CanvasSize);
    ASSERT_EQ(QSize(picture.width, picture.height), expected.size);
    for (const ColourProbe& probe : expected.probes)
        EXPECT_TRUE(near(pixelAt(picture, probe.at), probe.colour))
            << "at " << probe.at.x() << "," << probe.at.y() << ": " << std::hex << pixelAt(picture, probe.at)
            << " instead of " << probe.colour;
}

void expectFailsClearly(const CorpusPicture& expected, const QString& path)
{
    try {
        DecodePictureFile(path, CanvasSize);
        ADD_FAILURE() << "loaded, but must fail";
    } catch (const Failure& failure) {
        const QString description = QString::fromStdString(failure.description());
        EXPECT_TRUE(description.contains(QDir::toNativeSeparators(path))) << description.toStdString();
        EXPECT_TRUE(description.contains(expected.failureText)) << description.toStdString();
        EXPECT_FALSE(description.contains(QLatin1Char('\n'))) << description.toStdString();
    }
}

// Every picture either loads upright with its colours, or fails with a description that names
// the file and says why; none crashes, hangs or loads as something it is not.
TEST(PictureCorpus, EachPictureLoadsCorrectlyOrFailsClearly)
{
    QTemporaryDir folder;
    const std::vector<CorpusPicture> corpus = BadAndUnusualPictures();
    ASSERT_TRUE(WriteCorpus(corpus, QDir(folder.path())));
    for (const CorpusPicture& picture : corpus) {
        SCOPED_TRACE(picture.name.toStdString());
        QString path = QDir(folder.path()).filePath(picture.name);
        if (picture.isFolder())
            path.chop(1);
        if (picture.mustLoad())
            expectLoadsUpright(picture, path);
        else
            expectFailsClearly(picture, path);
    }
}

} // namespace
