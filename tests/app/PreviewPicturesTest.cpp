#include "app/PreviewPictures.h"

#include "core/Failure.h"
#include "engine/Canvas.h"
#include "fakes/TestPictures.h"
#include "platform/PictureLoader.h"

#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

const QString Slow = QStringLiteral("slow.png");
const QString Fast = QStringLiteral("fast.png");
const QString Broken = QStringLiteral("broken.png");
constexpr std::uint32_t SlowColour = 0xff0000;
constexpr std::uint32_t FastColour = 0x0000ff;

// Solid pictures by name; the slow one arrives only when the test lets it.
class GatedLoader : public PictureLoader {
public:
    std::atomic<int> loads = 0;

    Picture LoadPicture(const QString& path) override
    {
        ++loads;
        if (path == Broken)
            throw Failure(FailureNumber::InvalidPicture, "Invalid picture: broken.png");
        if (path == Slow) {
            std::unique_lock<std::mutex> lock(mutex_);
            released_.wait(lock, [&] { return open_; });
            return SolidPicture(40, 30, SlowColour);
        }
        return SolidPicture(30, 40, FastColour);
    }

    void release()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        released_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool open_ = false;
};

// Solid pictures by name; the slow one goes on until its load is stopped, and each load tells
// how it ended.
class UntilStoppedLoader : public PictureLoader {
public:
    std::atomic<int> slowStarted = 0;
    std::atomic<int> stopped = 0;
    std::atomic<int> completed = 0;

    Picture LoadPicture(const QString&) override
    {
        ++completed;
        return SolidPicture(30, 40, FastColour);
    }
    Picture LoadPictureUnlessStopped(const QString& path, const StopFlag& stop) override
    {
        if (path != Slow)
            return LoadPicture(path);
        ++slowStarted;
        // A load nobody stops fails the test by completing, not by hanging.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!stop && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (stop) {
            ++stopped;
            throw Stopped();
        }
        ++completed;
        return SolidPicture(40, 30, SlowColour);
    }
};

class PreviewPicturesTest : public ::testing::Test {
protected:
    ~PreviewPicturesTest() override { loader.release(); }

    bool settled(int field) { return QTest::qWaitFor([&] { return !pictures->field(field).loading; }, 5000); }

    GatedLoader loader;
    // The colour of field 1's picture at each change, 0 while it has none.
    std::vector<std::uint32_t> seen;
    std::unique_ptr<PreviewPictures> pictures = std::make_unique<PreviewPictures>(loader, [this] {
        const Picture& p = pictures->field(1).reduced;
        seen.push_back(p.isNull() ? 0 : p.row(0)[0] & 0xffffff);
    });
};

} // namespace

TEST_F(PreviewPicturesTest, KeepsThePictureStretchedOverTheCanvasOrWhyItFailed)
{
    pictures->setPath(1, Fast);
    pictures->setPath(2, Broken);
    ASSERT_TRUE(settled(1));
    ASSERT_TRUE(settled(2));

    const PreviewPictures::Field& loaded = pictures->field(1);
    EXPECT_EQ(loaded.path, Fast);
    EXPECT_EQ(loaded.reduced.width, Canvas::Width);
    EXPECT_EQ(loaded.reduced.height, Canvas::Height);
    EXPECT_EQ(loaded.reduced.row(424)[728] & 0xffffff, FastColour);
    EXPECT_TRUE(loaded.failure.isEmpty());

    const PreviewPictures::Field& broken = pictures->field(2);
    EXPECT_TRUE(broken.reduced.isNull());
    EXPECT_EQ(broken.failure, QStringLiteral("Invalid picture: broken.png"));
}

TEST_F(PreviewPicturesTest, ALoadThatEndsAfterANewerPathWasNamedIsDropped)
{
    pictures->setPath(1, Slow);
    pictures->setPath(1, Fast);
    EXPECT_TRUE(pictures->field(1).loading);
    EXPECT_EQ(pictures->field(1).path, Fast);

    loader.release();
    ASSERT_TRUE(settled(1));
    EXPECT_EQ(pictures->field(1).reduced.row(0)[0] & 0xffffff, FastColour);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), SlowColour), 0);
    EXPECT_EQ(loader.loads, 2);
}

TEST_F(PreviewPicturesTest, ALoadThatEndsAfterTheFieldWasEmptiedIsDropped)
{
    pictures->setPath(1, Slow);
    pictures->setPath(1, QString());
    EXPECT_FALSE(pictures->field(1).loading);
    loader.release();
    // Nothing more arrives for the field.
    QTest::qWait(100);
    EXPECT_TRUE(pictures->field(1).reduced.isNull());
    EXPECT_EQ(std::count(seen.begin(), seen.end(), SlowColour), 0);
}

TEST_F(PreviewPicturesTest, TheSameFileInBothFieldsIsLoadedOnce)
{
    pictures->setPath(1, Fast);
    ASSERT_TRUE(settled(1));
    pictures->setPath(2, Fast);
    EXPECT_FALSE(pictures->field(2).loading);
    EXPECT_TRUE(pictures->field(2).reduced.sharesPixelsWith(pictures->field(1).reduced));
    // Naming the same file again loads nothing either.
    pictures->setPath(1, Fast);
    EXPECT_EQ(loader.loads, 1);
}

// A load nobody wants any more, because the field names another file, the preview forgot its
// pictures or went away, is stopped rather than waited for.
TEST(PreviewPicturesStop, ALoadNobodyWantsAnyMoreIsStopped)
{
    struct Case {
        const char* why;
        std::function<void(std::unique_ptr<PreviewPictures>&)> unwant;
    };
    const Case cases[] = {
        {"another file", [](std::unique_ptr<PreviewPictures>& p) { p->setPath(1, Fast); }},
        {"an emptied field", [](std::unique_ptr<PreviewPictures>& p) { p->setPath(1, QString()); }},
        {"forgotten", [](std::unique_ptr<PreviewPictures>& p) { p->clear(); }},
        {"gone", [](std::unique_ptr<PreviewPictures>& p) { p.reset(); }},
    };
    for (const Case& c : cases) {
        UntilStoppedLoader loader;
        auto pictures = std::make_unique<PreviewPictures>(loader, [] {});
        pictures->setPath(1, Slow);
        ASSERT_TRUE(QTest::qWaitFor([&] { return loader.slowStarted == 1; }, 5000)) << c.why;
        c.unwant(pictures);
        ASSERT_TRUE(QTest::qWaitFor([&] { return loader.stopped == 1; }, 10000)) << c.why;
        EXPECT_EQ(loader.slowStarted, 1) << c.why;
        if (pictures) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !pictures->field(1).loading; }, 5000)) << c.why;
            EXPECT_TRUE(pictures->field(1).failure.isEmpty()) << c.why;
        }
    }
}
