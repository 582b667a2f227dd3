// libFuzzer target over the picture-loading paths: each input is written to a file, loaded
// exactly as the job loads a picture, its size read from its header as an export reads it, and
// its rows handed on one by one at an export's size with the cover fit. A clear failure is a
// good outcome; a crash, a hang, a sanitizer report, an uncaught exception or a row out of
// place is a finding.
#include "core/Failure.h"
#include "engine/Canvas.h"
#include "codecs/PictureDecoder.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The size the rows are handed on at: proportions unlike a photo's, so the cover fit cuts.
constexpr int RowsWidth = 320;
constexpr int RowsHeight = 90;

// Rows that must come once each, top to bottom, each as wide as the size.
class CheckedRows : public RowSink {
public:
    void takeRow(int y, const std::uint32_t* row) override
    {
        if (y != next || y >= RowsHeight)
            std::abort();
        ++next;
        volatile std::uint32_t ends = row[0] ^ row[RowsWidth - 1];
        static_cast<void>(ends);
    }
    int next = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("input.jpg"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    try {
        const Picture picture = DecodePictureFile(path, QSize(Canvas::Width, Canvas::Height));
        // Touch the first and last pixel: the picture must be as large as it says.
        volatile std::uint32_t corners = picture.row(0)[0] ^ picture.row(picture.height - 1)[picture.width - 1];
        static_cast<void>(corners);
    } catch (const Failure&) {
    }
    try {
        PictureFileSize(path);
        DecoderMemory memory;
        CheckedRows rows;
        DecodePictureRows(path, QSize(RowsWidth, RowsHeight), PictureFit::Cover, memory, rows, nullptr);
        if (rows.next != RowsHeight)
            std::abort();
    } catch (const Failure&) {
    }
    return 0;
}
