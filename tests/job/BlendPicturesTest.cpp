#include "job/BlendPictures.h"

#include "fakes/FakePlatform.h"
#include "fakes/TestPictures.h"
#include "core/Failure.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace {

// Each load waits until the other one has begun as well; loads made one after the other
// would wait in vain and say so.
class RendezvousPlatform : public FakePlatform {
public:
    Picture LoadPicture(const QString& path) override
    {
        std::unique_lock lock(mutex_);
        threads.insert(std::this_thread::get_id());
        ++started_;
        arrived_.notify_all();
        if (!arrived_.wait_for(lock, std::chrono::seconds(20), [&] { return started_ >= 2; }))
            metTheOther = false;
        if (path == QLatin1String("missing"))
            throw Failure(FailureNumber::FileNotFound, "File not found: missing");
        return SolidPicture(1, 1, path == QLatin1String("red") ? 0xff0000 : 0x0000ff);
    }

    std::set<std::thread::id> threads;
    bool metTheOther = true;

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    int started_ = 0;
};

std::string FailureText(const PictureLoad& load)
{
    try {
        TakePicture(load);
    } catch (const Failure& failure) {
        return failure.description();
    }
    return "loaded";
}

} // namespace

TEST(LoadBlendPictures, LoadsBothPicturesAtOnceOnTwoThreads)
{
    RendezvousPlatform platform;
    const BlendPictures pictures = LoadBlendPictures(platform, QStringLiteral("red"), QStringLiteral("missing"));

    EXPECT_TRUE(platform.metTheOther);
    EXPECT_EQ(platform.threads.size(), 2u);
    EXPECT_EQ(TakePicture(pictures.base).row(0)[0], 0xffff0000u);
    EXPECT_EQ(FailureText(pictures.overlay), "File not found: missing");
}

TEST(LoadBlendPictures, KeepsEachFailureWithItsOwnPicture)
{
    QTemporaryDir dir;
    const QString present = dir.path() + QStringLiteral("/blue ü.png");
    QImage blue(40, 30, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    ASSERT_TRUE(blue.save(present));
    const QString missing = dir.path() + QStringLiteral("/missing.jpg");
    FakePlatform platform;

    const BlendPictures first = LoadBlendPictures(platform, missing, present);
    const BlendPictures second = LoadBlendPictures(platform, present, missing);

    EXPECT_EQ(FailureText(first.base), "File not found: " + missing.toStdString());
    EXPECT_EQ(TakePicture(first.overlay).width, 40);
    EXPECT_EQ(TakePicture(second.base).height, 30);
    EXPECT_EQ(FailureText(second.overlay), "File not found: " + missing.toStdString());
}

// The platform's decoding loader reads the pictures as before unless stopped, and through a
// stopping loader a set flag ends each load of a job with Stopped.
TEST(LoadBlendPictures, ThroughAStoppingLoaderEachLoadEndsWithStoppedOnceTheFlagIsSet)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("red.png"));
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(file));
    PictureFileLoader decoder(CanvasSize);

    StopFlag stop{false};
    StoppingLoader stoppable(decoder, stop);
    const Picture plain = decoder.LoadPicture(file);
    const Picture unstopped = stoppable.LoadPicture(file);
    ASSERT_EQ(unstopped.width, plain.width);
    ASSERT_EQ(unstopped.height, plain.height);
    for (int y = 0; y < plain.height; ++y)
        ASSERT_TRUE(std::equal(plain.row(y), plain.row(y) + plain.width, unstopped.row(y))) << y;

    stop = true;
    const BlendPictures pictures = LoadBlendPictures(stoppable, file, file);
    for (const PictureLoad* load : {&pictures.base, &pictures.overlay}) {
        EXPECT_TRUE(load->picture.isNull());
        EXPECT_THROW(TakePicture(*load), Stopped);
    }
}
