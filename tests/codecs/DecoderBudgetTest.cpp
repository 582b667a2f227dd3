#include "fakes/TestPictures.h"
#include "codecs/DecoderBudget.h"
#include "codecs/PictureCorpus.h"
#include "codecs/PictureDecoder.h"
#include "core/Failure.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// A progressive JPEG is decoded into coefficient buffers for the whole picture; a job whose
// decoder memory cannot hold them refuses the picture and says why, and the memory is back
// for the next picture.
TEST(DecoderMemory, RefusesAPictureWhoseDecodingNeedsMoreThanTheJobMay)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("progressive.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(EncodeJpeg(QuarteredImage(QSize(2000, 2000)), 90, true));
    file.close();

    DecoderMemory small(20 * 1024 * 1024);
    try {
        DecodePictureFile(path, CanvasSize, &small);
        FAIL() << "decoded beyond the budget";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), FailureNumber::OutOfMemory);
        EXPECT_EQ(failure.description(), "Cannot load the picture " + path.toStdString()
                                             + ": decoding it needs 30 MiB, more than the 20 MiB a job may use for decoding");
    }
    DecoderMemory enough(64 * 1024 * 1024);
    EXPECT_EQ(DecodePictureFile(path, CanvasSize, &enough).width, 729);
    EXPECT_EQ(DecodePictureFile(path, CanvasSize, &enough).width, 729) << "the memory of the first decoding came back";
}

// Two pictures that do not fit at once are decoded one after the other.
TEST(DecoderMemory, ASecondTakerWaitsUntilTheFirstGivesBack)
{
    DecoderMemory memory(100);
    EXPECT_FALSE(memory.take(101));
    ASSERT_TRUE(memory.take(60));
    std::atomic<bool> secondHasIt = false;
    std::thread second([&] {
        MemoryReservation reservation;
        EXPECT_TRUE(reservation.take(memory, 60));
        secondHasIt = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(secondHasIt);
    memory.giveBack(60);
    second.join();
    EXPECT_TRUE(secondHasIt);
    EXPECT_TRUE(memory.take(100)) << "the second gave its share back";
}

// Where both pictures must be decoded at once, one that does not fit beside the other is
// refused at once, and the cause says what the other holds.
TEST(DecoderMemory, WithoutWaitingASecondTakerThatDoesNotFitIsRefused)
{
    DecoderMemory memory(100 * 1024 * 1024, DecoderMemory::WhenShort::Refuse);
    ASSERT_TRUE(memory.take(60 * 1024 * 1024));
    EXPECT_FALSE(memory.take(50 * 1024 * 1024));
    EXPECT_TRUE(memory.take(40 * 1024 * 1024));
    EXPECT_EQ(TooMuchMemoryCause(50 * 1024 * 1024, memory.limit(), 60 * 1024 * 1024),
              QStringLiteral("decoding it needs 50 MiB beside the other picture's 60 MiB, more than the 100 MiB a job may "
                             "use for decoding"));
}

} // namespace
