#pragma once

#include "platform/DecoderBudget.h"

#include <QSize>
#include <QString>

// One picture file to decode, and what its decoding may take.
struct DecodeRequest {
    QString path;
    QString shownPath; // as the user is shown it
    qint64 fileSize;
    QSize canvas;      // the size it is shown at
    DecoderMemory& memory;
};

// Throws the failure "Cannot load the picture <file>: <cause>".
[[noreturn]] void RefusePicture(const DecodeRequest& request, int number, const QString& cause);
// Refuses a picture whose header claims more pixels than a picture may have.
void RefuseOversizedPicture(const DecodeRequest& request, qint64 width, qint64 height);
