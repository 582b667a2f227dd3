#pragma once

#include "core/Picture.h"
#include "platform/DecodeRequest.h"

#include <QByteArray>

class QIODevice;

// Decodes a GIF or BMP through Qt's reader ("gif", "bmp") within the job's decoder memory, and
// reduces the image, flattened onto white, strip by strip. A file whose headers claim more
// pixels than its bytes can make is refused before anything is decoded.
Picture DecodeWithQtReader(QIODevice& file, const QByteArray& format, const QByteArray& head, const DecodeRequest& request);
