#pragma once

#include "core/Picture.h"
#include "codecs/DecodeRequest.h"

// Decodes a BMP row by row into a reduced picture: 1, 4 and 8 bits a pixel through the
// palette, 16 and 32 bits through their colour masks (an alpha mask flattens onto white), 24
// bits, and run-length data of 4 and 8 bits. Rows stored from the bottom flow in as stored and
// the reduced picture is turned over at the end, so nothing larger than a row is held.
Picture DecodeBmp(const DecodeRequest& request);
