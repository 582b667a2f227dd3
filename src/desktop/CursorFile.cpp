#include "desktop/CursorFile.h"

#include "core/Failure.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPixmap>

namespace {

// A cursor is small; anything much larger is no cursor, and is not read into memory.
constexpr qint64 LargestCursorFile = 1 << 20;

// The file starts with a directory: reserved 0, type 2 (cursor), the number of images;
// each 16-byte entry holds the image's hot spot at bytes 4 and 6, little-endian.
constexpr int DirectorySize = 6;
constexpr int EntrySize = 16;

int word(const QByteArray& bytes, int at)
{
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

[[noreturn]] void noCursor(const QString& path, const QString& why)
{
    throw Failure(FailureNumber::InvalidPicture,
                  QStringLiteral("The cursor file %1 cannot be used: %2")
                      .arg(QDir::toNativeSeparators(path), why)
                      .toStdString());
}

} // namespace

QCursor CursorFromFileContents(const QByteArray& contents, const QString& path)
{
    if (contents.size() < DirectorySize + EntrySize || word(contents, 0) != 0 || word(contents, 2) != 2
        || word(contents, 4) < 1)
        noCursor(path, QStringLiteral("it is no cursor file"));

    QBuffer buffer;
    buffer.setData(contents);
    QImageReader reader(&buffer, "cur");
    const QImage image = reader.read();
    if (image.isNull())
        noCursor(path, reader.errorString());

    const int hotX = word(contents, DirectorySize + 4);
    const int hotY = word(contents, DirectorySize + 6);
    if (hotX >= image.width() || hotY >= image.height())
        noCursor(path, QStringLiteral("its hot spot lies outside its picture"));
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

QCursor LoadCursorFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        noCursor(path, file.errorString());
    if (file.size() > LargestCursorFile)
        noCursor(path, QStringLiteral("it is too large for a cursor"));
    return CursorFromFileContents(file.readAll(), path);
}
