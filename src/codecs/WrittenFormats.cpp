#include "codecs/WrittenFormats.h"

#include <limits>

namespace {

// A side is an int everywhere in the program; PNG and BMP hold any such side.
constexpr int AnySide = std::numeric_limits<int>::max();

// In the order of WrittenFormat. JPEG's markers give a side in 16 bits, and libjpeg takes at
// most 65500; a WebP header gives it in 14 bits. JPEG at quality 0 is the same as at 1, and
// WebP at 100 is lossless.
constexpr WrittenFormatLimits Limits[] = {
    {"JPEG", 65500, true, 0, 100},
    {"PNG", AnySide, false, 0, 0},
    {"WebP", 16383, true, 1, 100},
    {"BMP", AnySide, false, 0, 0},
};

} // namespace

const WrittenFormatLimits& LimitsOf(WrittenFormat format)
{
    return Limits[static_cast<int>(format)];
}

QString SideRefusal(WrittenFormat format, QSize size)
{
    const WrittenFormatLimits& limits = LimitsOf(format);
    if (size.width() <= limits.longestSide && size.height() <= limits.longestSide)
        return {};
    return QStringLiteral("a %1 picture can have at most %2 pixels a side")
        .arg(QLatin1String(limits.name))
        .arg(limits.longestSide);
}

QString QualityRefusal(WrittenFormat format, int quality)
{
    const WrittenFormatLimits& limits = LimitsOf(format);
    if (!limits.takesQuality || (quality >= limits.lowestQuality && quality <= limits.highestQuality))
        return {};
    return QStringLiteral("the quality %1 is not from %2 to %3").arg(quality).arg(limits.lowestQuality).arg(limits.highestQuality);
}
