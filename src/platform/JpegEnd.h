#pragma once

class QIODevice;

// Whether the JPEG from the device's position on reaches its end-of-image marker. The decoder
// quietly pads a file that stops early with grey, which would blend as if it were the
// picture; a file that never reaches its end marker has been cut short. Segments are skipped
// by their lengths, so the end marker of an embedded thumbnail does not count, and anything
// after the end marker (some cameras append data) does not matter. Leaves the device at the
// position where it found it.
bool JpegReachesEndOfImage(QIODevice& device);
