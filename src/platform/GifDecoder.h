#pragma once

#include "core/Picture.h"
#include "platform/DecodeRequest.h"

class QIODevice;

// Decodes the first frame of a GIF through giflib into a reduced picture of the GIF's screen,
// row by row; the transparent colour and the screen around the frame are flattened onto white.
// Only an interlaced frame is held whole (a byte a pixel) while its passes arrive. `file` is
// open and positioned at its start.
Picture DecodeGif(QIODevice& file, const DecodeRequest& request);
