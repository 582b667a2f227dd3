#include "job/ExportBlend.h"

#include "codecs/PictureDecoder.h"
#include "codecs/SaveAsPNG.h"
#include "codecs/SaveAsWebP.h"
#include "core/Failure.h"
#include "fakes/TestPictures.h"
#include "job/ExportFormat.h"
#include "job/FileFaults.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <webp/decode.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

// Smooth pictures, so that a blend reduced from a larger size differs from the window's only
// where the ramp does.
QImage gradient(QSize size, bool warm)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int a = 40 + 160 * x / size.width(), b = 40 + 160 * y / size.height();
            image.setPixel(x, y, warm ? qRgb(220, a, b) : qRgb(b, a, 230));
        }
    return image;
}

// A white disc, a third of the picture's height across, in its middle, on black.
QImage disc(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    const double r = size.height() / 6.0;
    painter.drawEllipse(QPointF(size.width() / 2.0, size.height() / 2.0), r, r);
    return image;
}

struct Difference {
    int most = 0;
    double mean = 0;
};

Difference differenceOf(const Picture& a, const Picture& b)
{
    Difference d;
    double sum = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int shift = 0; shift < 24; shift += 8) {
                const int delta = std::abs(int((a.row(y)[x] >> shift) & 0xff) - int((b.row(y)[x] >> shift) & 0xff));
                d.most = std::max(d.most, delta);
                sum += delta;
            }
    d.mean = sum / (3.0 * a.width * a.height);
    return d;
}

// The extent of the bright pixels along the middle row and the middle column.
QSize brightExtent(const Picture& picture)
{
    int across = 0, down = 0;
    for (int x = 0; x < picture.width; ++x)
        across += Green(picture.row(picture.height / 2)[x]) > 128;
    for (int y = 0; y < picture.height; ++y)
        down += Green(picture.row(y)[picture.width / 2]) > 128;
    return {across, down};
}

class ExportBlendTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder.filePath(name); }
    QString save(const QString& name, const QImage& image) const
    {
        EXPECT_TRUE(image.save(path(name)));
        return path(name);
    }
    ExportRequest request(const QString& output, ExportSize size = {}, PictureFit fit = PictureFit::Stretch) const
    {
        ExportRequest r;
        r.picture1 = first;
        r.picture2 = second;
        r.size = size;
        r.fit = fit;
        r.output = path(output);
        return r;
    }
    static ExportSize given(int width, int height) { return {ExportSize::Choice::Given, QSize(width, height)}; }

    QTemporaryDir folder;
    QString first = save("first.png", gradient(QSize(1600, 1000), true));
    QString second = save("second.png", gradient(QSize(1200, 900), false));
};

} // namespace

// The ramp scales with the axis it runs along: an export at twice the canvas, reduced back to
// it, is the window's result, for every side and wherever the band starts.
TEST_F(ExportBlendTest, AnExportAtTwiceTheCanvasReducedBackIsTheWindowsResult)
{
    struct Case {
        const char* side;
        bool left, right, top, bottom;
        int start;
    };
    const Case cases[] = {
        {"left", true, false, false, false, 0},    {"left", true, false, false, false, 500},
        {"right", false, true, false, false, 200}, {"top", false, false, true, false, 0},
        {"bottom", false, false, false, true, 300},
    };
    for (const Case& c : cases) {
        ExportRequest window = request("window.png");
        window.blend = *ChooseBlend(c.left, c.right, c.top, c.bottom);
        window.bandStart = c.start;
        ExportRequest twice = window;
        twice.size = given(2 * 729, 2 * 425);
        twice.output = path("twice.png");
        ExportBlend(window);
        ExportBlend(twice);
        const Picture expected = DecodePictureFile(window.output, CanvasSize);
        const Picture reduced = DecodePictureFile(twice.output, CanvasSize);
        ASSERT_EQ(QSize(reduced.width, reduced.height), CanvasSize);
        const Difference d = differenceOf(expected, reduced);
        EXPECT_LE(d.most, 6) << c.side << " " << c.start;
        EXPECT_LT(d.mean, 0.5) << c.side << " " << c.start;
    }
}

// At the window's size with the stretch fit the export is the start button's own result.
TEST_F(ExportBlendTest, AtTheWindowsSizeTheExportIsTheWindowsResult)
{
    ExportRequest r = request("window.bmp");
    r.bandStart = 100;
    ExportBlend(r);
    const Picture exported = DecodePictureFile(r.output, CanvasSize);
    const Picture window = ComposeWindowBlend(DecodePictureFile(first, CanvasSize), DecodePictureFile(second, CanvasSize),
                                              0, 100);
    EXPECT_EQ(differenceOf(exported, window).most, 0);
}

TEST_F(ExportBlendTest, TheSizeIsTheWindowsEitherPicturesOrTheOneGiven)
{
    const std::pair<ExportSize, QSize> cases[] = {
        {{}, QSize(729, 425)},
        {{ExportSize::Choice::First, {}}, QSize(1600, 1000)},
        {{ExportSize::Choice::Second, {}}, QSize(1200, 900)},
        {given(333, 1201), QSize(333, 1201)},
    };
    for (const auto& [size, expected] : cases) {
        for (const PictureFit fit : {PictureFit::Stretch, PictureFit::Cover}) {
            ExportBlend(request("sized.png", size, fit));
            const Picture result = DecodePictureFile(path("sized.png"), QSize(1 << 20, 1 << 20));
            EXPECT_EQ(QSize(result.width, result.height), expected);
        }
    }
}

// Cover keeps the proportions: a disc stays round, where stretch makes it an ellipse. The band
// starts at the canvas's end, so the result is the base picture alone.
TEST_F(ExportBlendTest, ACircleStaysRoundWithCoverAndIsStretchedWithStretch)
{
    first = save("disc.png", disc(QSize(900, 600)));
    for (const PictureFit fit : {PictureFit::Cover, PictureFit::Stretch}) {
        ExportRequest r = request("disc-out.png", given(1200, 400), fit);
        r.bandStart = 729;
        ExportBlend(r);
        const Picture result = DecodePictureFile(r.output, QSize(1 << 20, 1 << 20));
        const QSize extent = brightExtent(result);
        if (fit == PictureFit::Cover) {
            // Scaled by 1200 / 900; the disc, 200 across, becomes 267 and is not cut.
            EXPECT_NEAR(extent.width(), 267, 3);
            EXPECT_NEAR(extent.height(), 267, 3);
        } else {
            EXPECT_NEAR(extent.width(), 267, 3);
            EXPECT_NEAR(extent.height(), 133, 3);
        }
    }
}

// Each format is written as its extension says and reads back as the blend: the lossless ones
// exactly, JPEG and lossy WebP closely.
TEST_F(ExportBlendTest, EachFormatIsWrittenAndReadsBack)
{
    ExportRequest r = request("reference.bmp", given(500, 300));
    ExportBlend(r);
    const Picture reference = DecodePictureFile(r.output, QSize(500, 300));

    struct Case {
        const char* name;
        int quality;
        int most; // the largest difference allowed in a channel
    };
    const Case cases[] = {{"out.png", 100, 0}, {"out.JPG", 100, 6}, {"out.jpeg", 50, 40}, {"out.bmp", 100, 0}};
    for (const Case& c : cases) {
        r.output = path(c.name);
        r.quality = c.quality;
        ExportBlend(r);
        const Picture back = DecodePictureFile(r.output, QSize(500, 300));
        ASSERT_EQ(QSize(back.width, back.height), QSize(500, 300)) << c.name;
        EXPECT_LE(differenceOf(reference, back).most, c.most) << c.name;
    }
    EXPECT_EQ(ContentOf(path("out.png")).left(8), QByteArray("\x89PNG\r\n\x1a\n"));

    // WebP: lossless at 100, smaller and close at a lower quality.
    qint64 losslessSize = 0;
    for (const int quality : {100, 60}) {
        r.output = path("out.webp");
        r.quality = quality;
        ExportBlend(r);
        const QByteArray bytes = ContentOf(r.output);
        int width = 0, height = 0;
        std::uint8_t* rgba = WebPDecodeBGRA(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                            std::size_t(bytes.size()), &width, &height);
        ASSERT_NE(rgba, nullptr);
        ASSERT_EQ(QSize(width, height), QSize(500, 300));
        const Picture back{std::shared_ptr<const void>(rgba, WebPFree), reinterpret_cast<const std::uint32_t*>(rgba), 500, 300, 500};
        if (quality == 100) {
            EXPECT_EQ(differenceOf(reference, back).most, 0);
            losslessSize = bytes.size();
        } else {
            EXPECT_LT(differenceOf(reference, back).mean, 3);
            EXPECT_LT(bytes.size(), losslessSize);
        }
    }
}

// Refused before anything is decoded or written, each with the output and the cause.
TEST_F(ExportBlendTest, AnOutputThatCannotBeWrittenIsRefusedWithItsCauseAndNothingIsWritten)
{
    struct Case {
        const char* name;
        ExportSize size;
        std::string cause;
    };
    const Case cases[] = {
        {"out.tif", {}, "Invalid output file format (use .jpg, .jpeg, .png, .webp or .bmp)"},
        {"out.jpg", given(70000, 10), "a JPEG picture can have at most 65500 pixels a side, not 70000 x 10"},
        {"out.webp", given(100, 20000), "a WebP picture can have at most 16383 pixels a side, not 100 x 20000"},
        // WebP is encoded whole, so the blend is held; the other formats stream.
        {"out.webp", given(16000, 16000),
         "at 16000 x 16000 pixels the export would hold 978 MiB besides its pictures, more than half of the 512 MiB a job may use"},
    };
    for (const Case& c : cases) {
        ExportRequest r = request(c.name, c.size);
        r.picture2 = path("missing.png"); // never opened
        try {
            ExportBlend(r);
            ADD_FAILURE() << c.name;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.description(), "Cannot write " + r.output.toStdString() + ": " + c.cause);
        }
    }
    EXPECT_EQ(EntriesOf(folder.path()), QStringList({"first.png", "second.png"}));
}

TEST_F(ExportBlendTest, NeverReplacesOneOfItsOwnPictures)
{
    const QByteArray before = ContentOf(second);
    ExportRequest r = request("second.png", given(100, 100));
    EXPECT_THROW(ExportBlend(r), Failure);
    EXPECT_EQ(ContentOf(second), before);
}

// A picture that cannot be loaded is named; no file is left behind.
TEST_F(ExportBlendTest, APictureThatCannotBeLoadedIsNamedAndNothingIsWritten)
{
    for (const ExportSize size : {ExportSize{}, ExportSize{ExportSize::Choice::First, {}}, given(800, 600)}) {
        ExportRequest r = request("out.jpg", size);
        r.picture1 = path("missing.png");
        try {
            ExportBlend(r);
            ADD_FAILURE();
        } catch (const Failure& failure) {
            EXPECT_NE(failure.description().find("missing.png"), std::string::npos) << failure.description();
        }
    }
    EXPECT_EQ(EntriesOf(folder.path()), QStringList({"first.png", "second.png"}));
}

// Stopped before it starts, while the pictures are decoded or while the rows are composed: the
// export ends with Stopped and the earlier file of that name stays whole.
TEST_F(ExportBlendTest, AStoppedExportWritesNothingAndKeepsTheEarlierFile)
{
    const QString output = path("out.png");
    ASSERT_TRUE(PutFile(output, "earlier"));
    struct Case {
        const char* moment;
        bool before;
        double at; // the share done at which the progress sets the flag
    };
    for (const Case& c : {Case{"before", true, 0}, Case{"composing", false, 0.5}, Case{"half composed", false, 0.75}}) {
        StopFlag stop{c.before};
        ExportControl control;
        control.stop = &stop;
        double last = 0;
        control.progress = [&](double done) {
            last = done;
            if (done >= c.at)
                stop = true;
        };
        EXPECT_THROW(ExportBlend(request("out.png", given(1000, 800)), control), Stopped) << c.moment;
        EXPECT_LT(last, 1) << c.moment;
        EXPECT_EQ(ContentOf(output), QByteArray("earlier")) << c.moment;
    }
    EXPECT_EQ(EntriesOf(folder.path()), QStringList({"first.png", "out.png", "second.png"}));

    // Left alone, the progress rises to the end.
    std::vector<double> shares;
    ExportControl control;
    control.progress = [&shares](double done) { shares.push_back(done); };
    ExportBlend(request("out.png", given(1000, 800)), control);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_EQ(shares.back(), 1);
}

// The encoders that can be interrupted look at the flag on the way, the PNG one at every row,
// the WebP one whenever it reports its progress: stopped, they write nothing and the earlier
// file stays whole. The export's writer looks at it before any encoder starts.
TEST_F(ExportBlendTest, AStoppedEncodingWritesNothingAndKeepsTheEarlierFile)
{
    const Picture picture = MakePicture(640, 480, [](int x, int y) { return std::uint32_t(x * 977 + y * 131) & 0xffffff; });
    struct Case {
        const char* writer;
        const char* name;
        std::function<void(const QString&, const StopFlag*)> write;
    };
    const auto writtenSize = [](const QString& file) {
        if (!file.endsWith(QLatin1String(".webp")))
            return QImage(file).size();
        const QByteArray bytes = ContentOf(file);
        int width = 0, height = 0;
        WebPGetInfo(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()), &width, &height);
        return QSize(width, height);
    };
    const Case cases[] = {
        {"PNG encoder", "out.png", [&](const QString& file, const StopFlag* stop) { SavePNG(picture, file, stop); }},
        {"lossless WebP encoder", "out.webp",
         [&](const QString& file, const StopFlag* stop) { SaveWebP(picture, file, 100, stop); }},
        {"lossy WebP encoder", "out.webp",
         [&](const QString& file, const StopFlag* stop) { SaveWebP(picture, file, 80, stop); }},
        {"export's JPEG", "out.jpg", [&](const QString& file, const StopFlag* stop) { WriteExport(picture, file, 90, stop); }},
        {"export's BMP", "out.bmp", [&](const QString& file, const StopFlag* stop) { WriteExport(picture, file, 90, stop); }},
    };
    for (const Case& c : cases) {
        const QString output = path(QLatin1String(c.name));
        ASSERT_TRUE(PutFile(output, "earlier"));
        const QStringList entries = EntriesOf(folder.path());
        const StopFlag stop{true};
        EXPECT_THROW(c.write(output, &stop), Stopped) << c.writer;
        EXPECT_EQ(ContentOf(output), QByteArray("earlier")) << c.writer;
        EXPECT_EQ(EntriesOf(folder.path()), entries) << c.writer;

        const StopFlag goOn{false};
        c.write(output, &goOn);
        EXPECT_EQ(writtenSize(output), QSize(640, 480)) << c.writer;
    }
}

// Each decoder checks the flag at every row, so a decoding nobody wants any more ends at once.
TEST_F(ExportBlendTest, EveryDecoderStopsAtARowWhenAsked)
{
    const QImage image = gradient(QSize(300, 200), true);
    StopFlag stop{true};
    for (const char* format : {"png", "jpg", "bmp"}) {
        const QString file = save(QStringLiteral("picture.") + QLatin1String(format), image);
        EXPECT_THROW(DecodePictureFile(file, CanvasSize, nullptr, PictureFit::Stretch, &stop), Stopped) << format;
        EXPECT_NO_THROW(DecodePictureFile(file, CanvasSize)) << format;
    }
}

// The two pictures stream at the same time; whichever fails first, the base's failure is the
// one told, as the window's job tells it, and nothing is written.
TEST_F(ExportBlendTest, TheBasesFailureIsToldBeforeTheOverlaysWhicheverComesFirst)
{
    const QByteArray png = ContentOf(first);
    const QString cut = path("cut.png");
    ASSERT_TRUE(PutFile(cut, png.left(png.size() * 3 / 5))); // fails well into its rows
    const QString missing = path("missing.png");
    struct Case {
        QString base, overlay;
        const char* told;
    };
    const Case cases[] = {
        {cut, missing, "cut.png"},
        {missing, cut, "missing.png"},
        {first, missing, "missing.png"},
        {cut, second, "cut.png"},
    };
    for (const Case& c : cases) {
        ExportRequest r = request("out.jpg", given(1200, 800));
        r.picture1 = c.base;
        r.picture2 = c.overlay;
        try {
            ExportBlend(r);
            ADD_FAILURE() << c.told;
        } catch (const Failure& failure) {
            EXPECT_NE(failure.description().find(c.told), std::string::npos) << failure.description();
        }
        EXPECT_EQ(EntriesOf(folder.path()), QStringList({"cut.png", "first.png", "second.png"})) << c.told;
    }
}

// A line covering a square would be enlarged to billions of pixels along it: refused for the
// memory that would take, naming the picture, and nothing is written.
TEST_F(ExportBlendTest, ALineCoveringASquareIsRefusedForItsMemory)
{
    ExportRequest r = request("out.png", given(1000, 1000), PictureFit::Cover);
    r.picture2 = path("line.png");
    SavePNG(SolidPicture(3000000, 1, 0x008b8b), r.picture2);
    try {
        ExportBlend(r);
        ADD_FAILURE();
    } catch (const Failure& failure) {
        EXPECT_NE(failure.description().find("line.png"), std::string::npos) << failure.description();
        EXPECT_NE(failure.description().find("MiB"), std::string::npos) << failure.description();
    }
    EXPECT_EQ(EntriesOf(folder.path()), QStringList({"first.png", "line.png", "second.png"}));
}
