#pragma once

#include "core/Picture.h"
#include "codecs/DecodeRequest.h"

// Decodes the first frame of a GIF through giflib into a reduced picture of the GIF's screen,
// row by row; the transparent colour and the screen around the frame are flattened onto white.
// Only an interlaced frame is held whole (a byte a pixel) while its passes arrive.
Picture DecodeGif(const DecodeRequest& request);
