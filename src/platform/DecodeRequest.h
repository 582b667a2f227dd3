#pragma once

#include "platform/DecoderBudget.h"

#include <QSize>
#include <QString>

#include <cstdio>
#include <memory>

// One picture file to decode, and what its decoding may take.
struct DecodeRequest {
    QString path;
    QString shownPath; // as the user is shown it
    qint64 fileSize;
    QSize canvas;      // the size it is shown at
    DecoderMemory& memory;
};

// The cause told for a file that ends before its picture does.
inline constexpr char TruncatedCause[] = "the file is truncated: it ends before the picture does";

// Throws the failure "Cannot load the picture <file>: <cause>".
[[noreturn]] void RefusePicture(const DecodeRequest& request, int number, const QString& cause);
// A picture file open for a decoder that reads it through a C stream, with a buffer large
// enough that a photo takes a few dozen reads of the system instead of thousands.
class PictureStream {
public:
    // Refuses a file that cannot be opened.
    explicit PictureStream(const DecodeRequest& request);
    PictureStream(const PictureStream&) = delete;
    PictureStream& operator=(const PictureStream&) = delete;
    ~PictureStream();
    std::FILE* get() const { return file_; }

private:
    std::unique_ptr<char[]> buffer_;
    std::FILE* file_;
};
// Refuses a picture whose header claims more pixels than a picture may have.
void RefuseOversizedPicture(const DecodeRequest& request, qint64 width, qint64 height);
