#include "job/ExportFormat.h"

#include "core/Failure.h"
#include "fakes/FailureOf.h"
#include "fakes/TestPictures.h"
#include "job/FileFaults.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

class ExportFileTest : public ::testing::Test {
protected:
    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    QTemporaryDir dir;
    const Picture picture = NoisePicture(640, 480);
};

} // namespace

// The export's file is chosen by its name's extension in any case and written a row at a time.
TEST_F(ExportFileTest, TheFileOfEachExtensionIsWrittenRowByRow)
{
    for (const char* name : {"out.JPG", "out.jpeg", "out.png", "out.bmp"}) {
        const QString path = in(QLatin1String(name));
        const std::unique_ptr<PictureRowWriter> writer = StartExportFile(path, QSize(640, 480), 90);
        for (int y = 0; y < picture.height; ++y)
            writer->writeRow(picture.row(y));
        writer->finish();
        EXPECT_EQ(QImage(path).size(), QSize(640, 480)) << name;
    }
    const QString webp = in(QStringLiteral("out.webp"));
    WriteExport(picture, webp, 90);
    EXPECT_TRUE(ContentOf(webp).startsWith("RIFF")) << "webp";
}

// Every failure of an export's file, at its start, at a row or at its finish, names the output
// and the cause, keeping the writer's number.
TEST_F(ExportFileTest, EveryFailureNamesTheOutputAndTheCause)
{
    struct Case {
        const char* name;
        std::function<void(const QString&)> write;
        int number;
        std::string cause;
    };
    const auto rows = [this](int count) {
        return [this, count](const QString& path) {
            const std::unique_ptr<PictureRowWriter> writer = StartExportFile(path, QSize(640, 480), 90);
            for (int y = 0; y < count; ++y)
                writer->writeRow(picture.row(y));
            writer->finish();
        };
    };
    const Case cases[] = {
        {"out.tif", rows(480), FailureNumber::InvalidCall, "Invalid output file format (use .jpg, .jpeg, .png, .webp or .bmp)"},
        {"missing/out.png", rows(480), FailureNumber::PathNotFound, "the folder does not exist"},
        {"missing/out.jpg", rows(480), FailureNumber::InvalidCall, "the folder does not exist"},
        {"out.webp", [](const QString& path) { StartExportFile(path, QSize(16384, 2), 90); }, FailureNumber::InvalidCall,
         "a WebP picture can have at most 16383 pixels a side"},
        {"out.bmp", rows(10), FailureNumber::InvalidCall, "only 10 of the picture's 480 rows were given"},
        {"out.jpg", rows(10), FailureNumber::InvalidCall, "only 10 of the picture's 480 rows were given"},
    };
    for (const Case& c : cases) {
        const QString path = in(QLatin1String(c.name));
        const Failure failure = FailureOf([&] { c.write(path); });
        EXPECT_EQ(failure.number(), c.number) << c.name;
        EXPECT_EQ(failure.cause(), c.cause) << c.name;
        EXPECT_EQ(failure.description(), "Cannot write " + path.toStdString() + ": " + c.cause) << c.name;
    }
#ifdef Q_OS_UNIX
    for (const char* name : {"out.jpg", "out.png", "out.bmp", "out.webp"}) {
        const QString path = in(QLatin1String(name));
        Failure failure(0, "no failure");
        {
            const FileSizeLimit fullDisk(64 << 10);
            failure = FailureOf([&] { rows(480)(path); });
        }
        EXPECT_EQ(failure.description(), "Cannot write " + path.toStdString() + ": File too large") << name;
    }
#endif
    EXPECT_TRUE(EntriesOf(dir.path()).isEmpty());
}
