#pragma once

#include <QSize>
#include <QString>

// The formats the program writes, and what each of them can hold: the one table that the
// writers and the export's refusals both go by.
enum class WrittenFormat { Jpeg, Png, WebP, Bmp };

struct WrittenFormatLimits {
    const char* name; // as a message names the format: "JPEG"
    int longestSide;  // in pixels
    bool takesQuality;
    int lowestQuality; // when it takes one
    int highestQuality;
};
const WrittenFormatLimits& LimitsOf(WrittenFormat format);

// Why the format cannot hold a picture of the size, "a JPEG picture can have at most 65500
// pixels a side"; empty text when it can.
QString SideRefusal(WrittenFormat format, QSize size);

// Why the format does not take the quality, "the quality 101 is not from 0 to 100"; empty text
// when it does, or when it takes none.
QString QualityRefusal(WrittenFormat format, int quality);
