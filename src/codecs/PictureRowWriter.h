#pragma once

#include "core/Picture.h"
#include "core/StopFlag.h"

#include <QSize>

#include <cstdint>

// A picture file written a row at a time, top to bottom, as the rows are made: each writer holds
// only what its format needs (its header says what), and the file takes the place of an earlier
// file of that name only once finish() has completed it. A writer destroyed before then leaves
// nothing, and the earlier file stays whole. Once a step failed, every later one fails the same
// way.
class PictureRowWriter {
public:
    virtual ~PictureRowWriter() = default;
    // The next row: as many pixels 0xffRRGGBB as the picture is wide. Throws Failure.
    virtual void writeRow(const std::uint32_t* row) = 0;
    // Completes the file once every row is written and puts it in place. Throws Failure.
    virtual void finish() = 0;
};

// The size to start a writer for a whole picture with: empty for a null picture, which every
// writer refuses.
QSize SizeToWrite(const Picture& picture);

// Writes every row of the picture and finishes the file. A set stop flag ends the writing before
// the next row by throwing Stopped, and nothing is written.
void WritePictureRows(PictureRowWriter& writer, const Picture& picture, const StopFlag* stop = nullptr);
