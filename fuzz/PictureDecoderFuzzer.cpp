// libFuzzer target over the picture-loading path: each input is written to a file and loaded
// exactly as the job loads a picture. A clear failure is a good outcome; a crash, a hang, a
// sanitizer report or an uncaught exception is a finding.
#include "core/Failure.h"
#include "engine/Canvas.h"
#include "codecs/PictureDecoder.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

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
    return 0;
}
