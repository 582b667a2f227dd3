#pragma once

#include "core/Picture.h"
#include "codecs/DecodeRequest.h"

// Decodes a PNG through libpng row by row into a reduced picture: palette, grey, 16-bit and
// transparent pictures are turned into 8-bit colour flattened onto white as the rows are
// read. Only an interlaced picture is held whole while its passes arrive, within the job's
// decoder memory.
Picture DecodePng(const DecodeRequest& request);
