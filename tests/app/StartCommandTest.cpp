#include "app/Form1.h"

#include "fakes/FakePlatform.h"
#include "job/FileFaults.h"
#include "platform/FileSystem.h"
#include "platform/SpecialFiles.h"
#include "report/ReportText.h"

#include "UserClose.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

int LargestChannelError(const Picture& expected, const QImage& actual)
{
    int largest = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) {
            const QColor e = QColor::fromRgb(expected.row(y)[x]);
            const QColor a = actual.pixelColor(x, y);
            largest = std::max({largest, std::abs(e.red() - a.red()), std::abs(e.green() - a.green()),
                                std::abs(e.blue() - a.blue())});
        }
    return largest;
}

const QString FolderMissing = QStringLiteral("Folder does not exist. Please select another folder.");

// The main window over a faked platform, with a red picture #1, a blue picture #2, "Blend
// Left" from band start 0, and an existing output folder.
class StartCommandTest : public ::testing::Test {
protected:
    StartCommandTest()
    {
        savePicture(red, 120, 80, Qt::red);
        savePicture(blue, 90, 60, Qt::blue);
        EXPECT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
        form.Text1->setText(red);
        form.Text2->setText(blue);
        form.Text4->setText(outFolder + QLatin1Char('/'));
        form.Option5->setChecked(true);
        form.Option1->setChecked(true);
        form.hStart->setValue(0);
        platform.onMessage = [this](const FakePlatform::Message&) { pointerDuringMessages.push_back(form.MousePointer()); };
    }

    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    static void savePicture(const QString& path, int width, int height, Qt::GlobalColor color)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(path));
    }

    static QString report(const QString& description, int line)
    {
        return ReportText(description, ProcedureIdentity(QStringLiteral("PushButton2_Click")), line);
    }

    // What a job that ended early must have left: the earlier result as it was, and nothing
    // else in the folder, nothing opened, no "Done." and the normal pointer.
    void expectNothingChanged(const QByteArray& earlier)
    {
        EXPECT_EQ(ContentOf(result), earlier);
        EXPECT_EQ(EntriesOf(outFolder), QStringList{QStringLiteral("result.jpg")});
        EXPECT_TRUE(platform.openedDocuments.isEmpty());
        EXPECT_FALSE(platform.messageTexts().contains(QStringLiteral("Done.")));
        EXPECT_EQ(form.MousePointer(), Form1::PointerDefault);
    }

    QTemporaryDir dir;
    const QString red = in(QStringLiteral("red ü.png"));
    const QString blue = in(QStringLiteral("blue.png"));
    const QString outFolder = in(QStringLiteral("out"));
    const QString result = outFolder + QStringLiteral("/result.jpg");
    const QByteArray earlier = QByteArrayLiteral("the earlier result");
    FakePlatform platform;
    Form1 form{platform};
    std::vector<int> pointerDuringMessages;
};

} // namespace

// The decoded pictures go with the job: the window keeps only what it composed from them.
TEST_F(StartCommandTest, TheWindowHoldsNoDecodedPictureAfterTheJob)
{
    form.PushButton2_Click();
    ASSERT_TRUE(platform.messageTexts().contains(QStringLiteral("Done.")));
    ASSERT_FALSE(platform.loadedPictures.empty());
    for (const std::weak_ptr<const void>& picture : platform.loadedPictures)
        EXPECT_TRUE(picture.expired());
}

TEST_F(StartCommandTest, BlendsThePairIntoAJpegOpensItAndSaysDone)
{
    form.PushButton2_Click();

    const QImage written(result);
    ASSERT_EQ(written.size(), QSize(729, 425));
    EXPECT_TRUE(ContentOf(result).startsWith("\xff\xd8\xff"));
    // Picture #1 alone at the left, picture #2 fading in towards the right edge.
    for (const int x : {0, 4}) {
        EXPECT_GE(qRed(written.pixel(x, 200)), 252) << x;
        EXPECT_LE(qBlue(written.pixel(x, 200)), 3) << x;
    }
    EXPECT_GE(qBlue(written.pixel(728, 200)), 251);
    EXPECT_LE(qRed(written.pixel(728, 200)), 4);
    for (int x = 8; x < 729; x += 8)
        EXPECT_GE(qBlue(written.pixel(x, 200)) + 3, qBlue(written.pixel(x - 8, 200))) << x;
    // And everywhere the picture that the engine composes from the two files.
    Canvases canvases;
    LoadedPair loaded;
    ConstantAlphaBlitter blitter;
    ComposePair(canvases, loaded, platform.LoadPicture(red), platform.LoadPicture(blue), 0, 0, blitter);
    EXPECT_LE(LargestChannelError(canvases.picDest.Image(), written), 4);

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("Done."));
    EXPECT_EQ(platform.messages[0].style, MsgBoxStyle::OkOnly);
    EXPECT_EQ(platform.messages[0].title, QString());
    EXPECT_EQ(platform.openedDocuments, QStringList{result});
    EXPECT_EQ(pointerDuringMessages, std::vector<int>{Form1::PointerBusy});
    EXPECT_EQ(form.MousePointer(), Form1::PointerDefault);
    EXPECT_EQ(form.hStart->maximum(), 729);
    EXPECT_EQ(form.hEnd->maximum(), 729);
}

TEST_F(StartCommandTest, EachBlendOptionPutsItsBaseAtItsSide)
{
    struct Case {
        OptionButton* option;
        bool vertical;
        bool baseIsRed;
    };
    const Case cases[] = {{form.Option1, false, true}, {form.Option2, false, false},
                          {form.Option3, true, true}, {form.Option4, true, false}};
    for (const Case& c : cases) {
        c.option->setChecked(true);
        form.PushButton2_Click();
        const QImage written(result);
        const QRgb near = c.vertical ? written.pixel(364, 0) : written.pixel(0, 212);
        const QRgb far = c.vertical ? written.pixel(364, 424) : written.pixel(728, 212);
        const auto base = [&](QRgb p) { return c.baseIsRed ? qRed(p) : qBlue(p); };
        const auto overlay = [&](QRgb p) { return c.baseIsRed ? qBlue(p) : qRed(p); };
        EXPECT_GE(base(near), 252) << c.option->text().toStdString();
        EXPECT_LE(overlay(near), 3) << c.option->text().toStdString();
        EXPECT_GT(overlay(far), base(far)) << c.option->text().toStdString();
    }
}

TEST_F(StartCommandTest, AnOutputFolderThatDoesNotExistStopsTheJobAtOnce)
{
    ASSERT_TRUE(PutFile(result, earlier));
    for (const QString& folder : {QString(), in(QStringLiteral("missing")), red}) {
        platform.messages.clear();
        pointerDuringMessages.clear();
        form.Text4->setText(folder);
        form.PushButton2_Click();

        ASSERT_EQ(platform.messages.size(), 1u) << folder.toStdString();
        EXPECT_EQ(platform.messages[0].text, FolderMissing);
        EXPECT_EQ(platform.messages[0].style, MsgBoxStyle::OkOnly);
        EXPECT_EQ(pointerDuringMessages, std::vector<int>{Form1::PointerDefault});
        expectNothingChanged(earlier);
    }
}

// "Save results in folder of original file" with no picture #1: the job says so and does
// nothing else, whatever the output folder box holds; nothing goes to the file system's root.
TEST_F(StartCommandTest, TheFolderOfAnEmptyPictureOneIsReportedMissing)
{
    ASSERT_TRUE(PutFile(result, earlier));
    form.Text1->clear();
    form.Option6->setChecked(true);
    for (const QString& folder : {outFolder, QString()}) {
        platform.messages.clear();
        pointerDuringMessages.clear();
        form.Text4->setText(folder);
        form.PushButton2_Click();

        EXPECT_EQ(platform.messageTexts(),
                  QStringList{QStringLiteral("There is no picture #1 to take the folder from. Please select a picture for "
                                             "Image #1.")});
        EXPECT_EQ(platform.messages[0].style, MsgBoxStyle::OkOnly);
        EXPECT_EQ(platform.messages[0].title, QString());
        EXPECT_EQ(pointerDuringMessages, std::vector<int>{Form1::PointerDefault});
        EXPECT_TRUE(platform.loadedPictures.empty());
        expectNothingChanged(earlier);
    }
}

TEST_F(StartCommandTest, TheFolderOfPictureOneTakesAPlainFileNameFromTheCurrentFolder)
{
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    form.Text1->setText(QStringLiteral("red ü.png"));
    form.Text4->setText(in(QStringLiteral("missing")));
    form.Option6->setChecked(true);
    form.PushButton2_Click();
    QDir::setCurrent(before);

    const QString expected = QDir(dir.path()).canonicalPath() + QStringLiteral("/result.jpg");
    EXPECT_EQ(platform.openedDocuments, QStringList{expected});
    EXPECT_EQ(QImage(expected).size(), QSize(729, 425));
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Done.")});
}

TEST_F(StartCommandTest, AReadOnlyEarlierResultIsReplaced)
{
    ASSERT_TRUE(PutFile(result, earlier));
    ASSERT_TRUE(QFile::setPermissions(result, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    form.PushButton2_Click();

    EXPECT_EQ(QImage(result).size(), QSize(729, 425));
    EXPECT_EQ(EntriesOf(outFolder), QStringList{QStringLiteral("result.jpg")});
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Done.")});
}

TEST_F(StartCommandTest, APictureThatCannotBeLoadedEndsTheJobAfterItsReport)
{
    const QString missing = in(QStringLiteral("missing.jpg"));
    const QString notFound = QStringLiteral("File not found: ") + missing;
    struct Case {
        QString text1;
        QString text2;
        QStringList reports;
    };
    const Case cases[] = {
        {missing, blue, {report(notFound, 114)}},
        {red, missing, {report(notFound, 116)}},
        {missing, missing, {report(notFound, 114), report(notFound, 116)}},
    };
    ASSERT_TRUE(PutFile(result, earlier));
    for (const Case& c : cases) {
        platform.messages.clear();
        form.Text1->setText(c.text1);
        form.Text2->setText(c.text2);
        form.PushButton2_Click();

        EXPECT_EQ(platform.messageTexts(), c.reports);
        expectNothingChanged(earlier);
    }
}

#ifdef Q_OS_UNIX
// The disk fills up while the result is written: the earlier result stays whole and no
// partial file is left beside it.
TEST_F(StartCommandTest, AWriteThatFailsKeepsTheEarlierResultAndLeavesNoPartialFile)
{
    ASSERT_TRUE(PutFile(result, earlier));
    {
        const FileSizeLimit fullDisk(4096);
        form.PushButton2_Click();
    }
    EXPECT_EQ(platform.messageTexts(), QStringList{report(QStringLiteral("Cannot save the image. GDI+ Error:7"), 124)});
    expectNothingChanged(earlier);
}
#endif

TEST_F(StartCommandTest, AFolderThatCannotBeWrittenKeepsTheEarlierResult)
{
    ASSERT_TRUE(PutFile(result, earlier));
    ASSERT_TRUE(QFile::setPermissions(outFolder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool refused = ReadOnlyFolderRefusesFiles(outFolder);
    if (refused)
        form.PushButton2_Click();
    QFile::setPermissions(outFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!refused)
        GTEST_SKIP() << "folder permissions do not bind the user running the tests";

    EXPECT_EQ(platform.messageTexts(), QStringList{report(QStringLiteral("Cannot save the image. GDI+ Error:12"), 124)});
    expectNothingChanged(earlier);
}

TEST_F(StartCommandTest, NeitherSaveOptionWritesNothing)
{
    ASSERT_TRUE(PutFile(result, earlier));
    form.Option5->setChecked(false);
    form.PushButton2_Click();

    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Invalid output file format")});
    EXPECT_EQ(platform.messages[0].style, MsgBoxStyle::OkOnly);
    expectNothingChanged(earlier);
}

TEST_F(StartCommandTest, AFolderNamedLikeABitmapStillGetsAJpeg)
{
    ASSERT_TRUE(QDir(outFolder).mkdir(QStringLiteral("Photos.BMP")));
    form.Text4->setText(outFolder + QStringLiteral("/Photos.BMP"));
    form.PushButton2_Click();

    EXPECT_TRUE(ContentOf(outFolder + QStringLiteral("/Photos.BMP/result.jpg")).startsWith("\xff\xd8\xff"));
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Done.")});
}

TEST_F(StartCommandTest, WithoutABlendOptionTheCanvasIsWrittenAsItIs)
{
    form.Option1->setChecked(false);
    form.Text1->setText(in(QStringLiteral("missing.jpg")));
    form.PushButton2_Click();

    const QImage written(result);
    ASSERT_EQ(written.size(), QSize(729, 425));
    EXPECT_EQ(written.pixel(300, 200), form.canvases.picDest.Image().row(200)[300]);
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Done.")});
}

// The job lets waiting events through once; a press of the start button waiting there is
// ignored, and the button works again once the job is over.
TEST_F(StartCommandTest, APressWhileTheJobRunsIsIgnored)
{
    QMetaObject::invokeMethod(form.PushButton2, &QAbstractButton::click, Qt::QueuedConnection);
    form.PushButton2_Click();
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(platform.openedDocuments.size(), 1);

    form.PushButton2->click();
    EXPECT_EQ(platform.messageTexts(), (QStringList{QStringLiteral("Done."), QStringLiteral("Done.")}));
}

// The user closed the window a moment before pressing start: the close still waits among the
// window's events when the job begins, and the job's first event pass lets it through. The
// program ends there, and the job neither writes nor opens a result nor says "Done.".
TEST_F(StartCommandTest, ACloseWaitingWhenStartIsPressedEndsTheProgramAndTheJob)
{
    ASSERT_TRUE(PutFile(result, earlier));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    form.show();
    QTimer::singleShot(0, &form, [this] {
        QueueCloseAsTheUserDoes(form);
        form.PushButton2_Click();
    });
    // Should closing not end the event loop, this ends it with a code of its own.
    QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    QGuiApplication::setQuitOnLastWindowClosed(true);

    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(platform.messages.empty()) << platform.messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(platform.loadedPictures.empty());
    expectNothingChanged(earlier);
}

// The hourglass is the window's: a message box over it during the job shows the arrow.
TEST_F(StartCommandTest, TheHourglassCoversTheWindowButNotItsMessageBoxes)
{
    struct Pointers {
        Qt::CursorShape window;
        Qt::CursorShape field;
        Qt::CursorShape box;
        bool overridden;
    };
    std::vector<Pointers> seen;
    platform.onMessage = [&](const FakePlatform::Message&) {
        const QWidget box(&form, Qt::Dialog);
        seen.push_back({form.cursor().shape(), form.Text4->cursor().shape(), box.cursor().shape(),
                        QGuiApplication::overrideCursor() != nullptr});
    };
    form.PushButton2_Click();

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].window, Qt::WaitCursor);
    EXPECT_EQ(seen[0].field, Qt::WaitCursor);
    EXPECT_EQ(seen[0].box, Qt::ArrowCursor);
    EXPECT_FALSE(seen[0].overridden);
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form.Text4->cursor().shape(), Qt::IBeamCursor);
}

// Picture #1 called "result.jpg", and "Save results in folder of original file": the result
// would have replaced the photo. Any name that leads to one of the pictures, by a symbolic or
// a hard link, is refused the same way, before anything is written.
TEST_F(StartCommandTest, AResultNeverReplacesOneOfItsOwnPictures)
{
    const QString photo = in(QStringLiteral("result.jpg"));
    savePicture(photo, 100, 70, Qt::green);
    const QByteArray photoBytes = ContentOf(photo);
    const QByteArray redBytes = ContentOf(red);
    const QByteArray blueBytes = ContentOf(blue);
    const QString itself = QStringLiteral("Cannot write %1: it is picture #%2 itself, and a result never replaces "
                                          "one of its own pictures");
    const QString linked = QStringLiteral("Cannot write %1: it is the same file as picture #%2, %3, and a result "
                                          "never replaces one of its own pictures");
    struct Case {
        const char* what;
        std::function<void()> arrange;
        QString description;
    };
    const Case cases[] = {
        {"picture #1 in its own folder",
         [&] {
             form.Text1->setText(photo);
             form.Option6->setChecked(true);
         },
         itself.arg(photo).arg(1)},
        {"picture #2 in the output folder",
         [&] {
             form.Text2->setText(result);
             ASSERT_TRUE(QFile::copy(photo, result));
         },
         itself.arg(result).arg(2)},
        {"a symbolic link to picture #1", [&] { ASSERT_TRUE(QFile::link(red, result)); }, linked.arg(result).arg(1).arg(red)},
#ifdef Q_OS_UNIX
        {"a hard link to picture #2",
         [&] { ASSERT_EQ(::link(QFile::encodeName(blue).constData(), QFile::encodeName(result).constData()), 0); },
         linked.arg(result).arg(2).arg(blue)},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form.Text1->setText(red);
        form.Text2->setText(blue);
        form.Option5->setChecked(true);
        QFile::remove(result);
        platform.messages.clear();
        c.arrange();
        form.PushButton2_Click();

        EXPECT_EQ(platform.messageTexts(), QStringList{report(c.description, 124)});
        EXPECT_TRUE(platform.openedDocuments.isEmpty());
        EXPECT_EQ(form.MousePointer(), Form1::PointerDefault);
        EXPECT_EQ(ContentOf(photo), photoBytes);
        EXPECT_EQ(ContentOf(red), redBytes);
        EXPECT_EQ(ContentOf(blue), blueBytes);
    }
}

// The scroll bar runs to the canvas width from start-up: a band start set to the middle
// before the first job is the middle of the canvas, and the result fades from there.
TEST_F(StartCommandTest, ABandStartChosenBeforeTheFirstJobTakesEffect)
{
    Form1 fresh(platform);
    fresh.Text1->setText(red);
    fresh.Text2->setText(blue);
    fresh.Text4->setText(outFolder);
    fresh.Option5->setChecked(true);
    fresh.Option1->setChecked(true);
    fresh.hStart->setValue((fresh.hStart->minimum() + fresh.hStart->maximum()) / 2);
    EXPECT_EQ(fresh.hStart->value(), 364);
    fresh.PushButton2_Click();

    EXPECT_EQ(fresh.hStart->value(), 364);
    const QImage written(result);
    ASSERT_EQ(written.size(), QSize(729, 425));
    EXPECT_GE(qRed(written.pixel(360, 200)), 252);
    EXPECT_GE(qBlue(written.pixel(728, 200)), 240);
}

#ifdef Q_OS_UNIX
// A pipe, a socket or a device where the result goes, itself or behind a link: refused and
// left as it was, nothing opened and no "Done.". The report keeps the writer's description.
TEST_F(StartCommandTest, AResultIsWrittenOnlyWhereAFileMayBe)
{
    for (const Thing thing : {Thing::Pipe, Thing::Socket, Thing::Device}) {
        for (const bool throughLink : {false, true}) {
            for (const QString& entry : EntriesOf(outFolder))
                QFile::remove(outFolder + QLatin1Char('/') + entry);
            if (!MakeThingAt(thing, result, throughLink))
                continue; // a device node needs an administrator
            SCOPED_TRACE(std::string(ThingName(thing)) + (throughLink ? " through a link" : ""));
            const FileKind before = KindOfFile(result);
            const QStringList entries = EntriesOf(outFolder);
            platform.messages.clear();
            form.PushButton2_Click();

            EXPECT_EQ(platform.messageTexts(), QStringList{report(QStringLiteral("Cannot save the image. GDI+ Error:12"), 124)});
            EXPECT_EQ(KindOfFile(result).kind, before.kind);
            EXPECT_EQ(EntriesOf(outFolder), entries);
            EXPECT_TRUE(platform.openedDocuments.isEmpty());
            EXPECT_EQ(form.MousePointer(), Form1::PointerDefault);
        }
    }
}

// A pipe as picture #1 would hold the window for good; it is refused at once. A picture
// whose name has bytes that are not valid UTF-8 says so instead of "File not found".
TEST_F(StartCommandTest, APictureThatIsNoFileOrCannotBeNamedIsRefusedWithItsReason)
{
    const QString pipe = in(QStringLiteral("pipe.jpg"));
    ASSERT_TRUE(MakePipe(pipe));
    const FileNamedByBytes photo(QFile::encodeName(in(QStringLiteral("photo"))) + "\xe9.png", ContentOf(red));
    ASSERT_TRUE(photo.created());
    const QString undecodable = photo.seen();
    ASSERT_TRUE(PutFile(result, earlier));
    const std::pair<QString, QString> cases[] = {
        {pipe, QStringLiteral("Cannot load the picture %1: it is a named pipe (FIFO), not a file").arg(pipe)},
        {undecodable, QStringLiteral("Cannot load the picture %1: its name holds bytes that are not valid UTF-8 "
                                     "(shown as \uFFFD), and the program cannot name such a file exactly")
                          .arg(undecodable)},
    };
    const PipeRelease release(pipe);
    for (const auto& [picture, description] : cases) {
        platform.messages.clear();
        form.Text1->setText(picture);
        form.PushButton2_Click();

        EXPECT_EQ(platform.messageTexts(), QStringList{report(description, 114)});
        expectNothingChanged(earlier);
    }
}
#endif
