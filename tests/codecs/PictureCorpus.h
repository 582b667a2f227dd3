#pragma once

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QPointF>
#include <QRgb>
#include <QSize>
#include <QString>

#include <vector>

// Bad and unusual picture files, made here byte by byte so that nothing is downloaded and each
// file is exactly the case it stands for.

// A colour expected at a point given as a fraction of the decoded width and height.
struct ColourProbe {
    QPointF at;
    QRgb colour;
};

struct CorpusPicture {
    QString name;        // file name; a name ending in "/" is made as a folder
    QByteArray bytes;
    // What loading must give: the upright size and colours, or, when `size` is empty, a
    // failure whose description holds `failureText`.
    QSize size;
    std::vector<ColourProbe> probes;
    QString failureText;

    bool mustLoad() const { return !size.isEmpty(); }
    bool isFolder() const { return name.endsWith(QLatin1Char('/')); }
};

std::vector<CorpusPicture> BadAndUnusualPictures();
// Pictures of extreme proportions and the other hostile classes at full size (lines of forty
// million pixels, millions of runs on one row, a tiny frame on a huge screen, ...), for the
// benchmark: some take a second to make and hundreds of megabytes.
std::vector<CorpusPicture> ExtremeProportionPictures();

// Writes every picture of the corpus into the folder; returns false when a file could not be
// written.
bool WriteCorpus(const std::vector<CorpusPicture>& corpus, const QDir& folder);

// Building blocks, also for tests of their own.
inline constexpr QRgb CorpusRed = 0xffff0000;
inline constexpr QRgb CorpusGreen = 0xff00ff00;
inline constexpr QRgb CorpusBlue = 0xff0000ff;
inline constexpr QRgb CorpusWhite = 0xffffffff;
// Quarters: red at the top left, green at the top right, blue at the bottom left, white at
// the bottom right.
QImage QuarteredImage(QSize size);
QByteArray EncodeJpeg(const QImage& image, int quality = 95, bool progressive = false);
// A black 1-bit BMP; `pixelData` false leaves only the headers, claiming the size.
QByteArray OneBitBmp(QSize size, bool pixelData = true);
// A run-length BMP (8 bits a pixel, or 4) of the given size, stored bottom-up, whose palette
// has black at 0 and the quarter colours at 1 to 4 (red, green, blue, white).
QByteArray RunLengthBmp(QSize size, bool fourBits, const QByteArray& runLengthData);
// The same JPEG with an EXIF orientation (1 to 8) in front of its other segments.
QByteArray WithExifOrientation(const QByteArray& jpeg, int orientation);
// Where the quarter colours of a quartered picture stored with this EXIF orientation must be
// once it is turned upright.
std::vector<ColourProbe> UprightQuarterProbes(int orientation);
