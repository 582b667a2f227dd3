#include "fakes/TestPictures.h"
#include "codecs/PictureCorpus.h"
#include "codecs/PictureDecoder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>

namespace {

class RunLengthBmpTest : public ::testing::Test {
protected:
    Picture decode(const QByteArray& bytes)
    {
        const QString path = folder.filePath(QStringLiteral("picture.bmp"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        EXPECT_EQ(file.write(bytes), bytes.size());
        file.close();
        return DecodePictureFile(path, CanvasSize);
    }

    // The picture's rows, top to bottom, as palette indices: '0' black, '1' red, '2' green,
    // '3' blue, '4' white; '?' any other colour.
    static std::vector<std::string> indicesOf(const Picture& picture)
    {
        std::vector<std::string> rows;
        for (int y = 0; y < picture.height; ++y) {
            std::string row;
            for (int x = 0; x < picture.width; ++x) {
                switch (picture.row(y)[x]) {
                case 0xff000000u: row += '0'; break;
                case CorpusRed: row += '1'; break;
                case CorpusGreen: row += '2'; break;
                case CorpusBlue: row += '3'; break;
                case CorpusWhite: row += '4'; break;
                default: row += '?';
                }
            }
            rows.push_back(row);
        }
        return rows;
    }

    QTemporaryDir folder;
};

// A row of millions of runs: the column stops at the row's end, and everything past it is
// dropped, however far the runs would reach (a signed column overflowed here and the next run
// was written far outside the row).
TEST_F(RunLengthBmpTest, MillionsOfRunsOnOneRowStopAtItsEnd)
{
    constexpr qsizetype Runs = INT_MAX / 255 + 2;
    const QByteArray data = QByteArray("\x10\x01", 2) + QByteArray("\xff\x02", 2).repeated(Runs) + QByteArray("\0\1", 2);
    const Picture picture = decode(RunLengthBmp(QSize(16, 16), false, data));
    const std::vector<std::string> rows = indicesOf(picture);
    ASSERT_EQ(rows.size(), 16u);
    for (int y = 0; y < 15; ++y)
        EXPECT_EQ(rows[std::size_t(y)], std::string(16, '0')) << y;
    EXPECT_EQ(rows[15], std::string(16, '1')) << "the first stored row is the bottom one";
}

struct ClipCase {
    const char* what;
    QSize size;
    bool fourBits;
    QByteArray data;
    std::vector<std::string> upright; // top to bottom
};

// Whatever a code asks for, it writes inside the picture: runs, literals and jumps that pass
// the row's end are cut there, and a jump below the picture ends it.
TEST_F(RunLengthBmpTest, CodesThatPassTheEndAreCutThere)
{
    const ClipCase cases[] = {
        {"a run past the row's end", {4, 3}, false,
         QByteArray("\x06\x01\0\0\x04\x02\0\0\x04\x03\0\1", 12), {"3333", "2222", "1111"}},
        {"a literal past the row's end", {4, 3}, false,
         QByteArray("\0\x06\x02\x02\x02\x02\x03\x03\0\0\0\1", 12), {"0000", "0000", "2222"}},
        {"a jump past the row's end, then a run", {4, 3}, false,
         QByteArray("\x02\x01\0\x02\xc8\x01\x02\x03\0\1", 10), {"0000", "0000", "1100"}},
        {"a jump along the row past its end", {4, 3}, false,
         QByteArray("\x01\x01\0\x02\xff\0\x02\x03\0\0\x04\x02\0\1", 14), {"0000", "2222", "1000"}},
        {"a jump below the picture", {4, 3}, false, QByteArray("\x04\x01\0\x02\0\xc8", 6), {"0000", "0000", "1111"}},
        {"codes after the last row", {2, 2}, false,
         QByteArray("\x02\x01\0\0\x02\x02\0\0\x02\x03\0\0\x02\x04\0\1", 16), {"22", "11"}},
        {"a 4-bit run past the row's end", {3, 2}, true, QByteArray("\x07\x12\0\0\x03\x33\0\1", 8), {"333", "121"}},
        {"a 4-bit literal past the row's end", {3, 2}, true,
         QByteArray("\0\x05\x12\x34\x10\0\0\1", 8), {"000", "123"}},
    };
    for (const ClipCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(indicesOf(decode(RunLengthBmp(c.size, c.fourBits, c.data))), c.upright);
    }
}

} // namespace
