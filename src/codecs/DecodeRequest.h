#pragma once

#include "codecs/DecoderBudget.h"
#include "codecs/PictureInput.h"
#include "codecs/ReducedPicture.h"
#include "core/StopFlag.h"

#include <QSize>
#include <QString>

#include <optional>

// One picture file to decode, and what its decoding may take.
struct DecodeRequest {
    QString path;
    PictureInput& input; // at the start of the file
    QSize canvas;        // the size it is shown at
    DecoderMemory& memory;
    PictureFit fit = PictureFit::Stretch; // how it is brought to the canvas's size
    const StopFlag* stop = nullptr;       // checked at every row: a set flag throws Stopped
    // When set, the rows go here at exactly the canvas's size by the fit, each as soon as it is
    // made, and the decoding returns a null picture. A picture stored other than top to bottom
    // is held, reduced, until it is complete, and then handed on.
    RowSink* rows = nullptr;
    // When set, the decoding ends once the header is read, throwing HeaderRead.
    bool headerOnly = false;
    qint64 fileSize() const { return input.size(); }
};

// What a decoding asked for its header alone throws once it has read the picture's size.
struct HeaderRead {
    QSize upright; // the size as the picture is shown, its orientation applied
};

// The cause told for a file that ends before its picture does.
inline constexpr char TruncatedCause[] = "the file is truncated: it ends before the picture does";

// Throws the failure "Cannot load the picture <file>: <cause>".
[[noreturn]] void RefusePicture(const DecodeRequest& request, int number, const QString& cause);
// Refuses a picture whose header claims more pixels than a picture may have.
void RefuseOversizedPicture(const DecodeRequest& request, qint64 width, qint64 height);

// The steps every decoder takes once it has read its header: the memory of the decoding is
// taken from the job's, the stored rows flow into the reduction, and the reduced picture comes
// out upright.
class PictureDecoding {
public:
    explicit PictureDecoding(const DecodeRequest& request) : request_(request) {}

    // Takes the decoder's own `workingBytes` and what the reduction of a picture of `stored`
    // size holds, waiting while the other picture of the job holds too much, and starts the
    // reduction. Refuses the picture when it needs more than a job may use. For a request of
    // the header alone, throws HeaderRead instead.
    void start(QSize stored, int orientation, std::size_t workingBytes);
    // What start() took or asked for.
    std::size_t bytes() const { return bytes_; }

    // The next stored row, 0xffRRGGBB.
    void addRow(const std::uint32_t* row)
    {
        ThrowIfStopped(request_.stop);
        picture_->addRow(row);
    }
    // The next stored row, 0xAARRGGBB not premultiplied.
    void addRowOntoWhite(const std::uint32_t* row)
    {
        ThrowIfStopped(request_.stop);
        picture_->addRowOntoWhite(row);
    }
    // The next `count` stored pixels, row after row, for a decoder that makes its rows in
    // pieces; 0xffRRGGBB, or 0xAARRGGBB to be flattened onto white.
    void addPixels(const std::uint32_t* pixels, std::size_t count)
    {
        ThrowIfStopped(request_.stop);
        picture_->addPixels(pixels, count);
    }
    void addPixelsOntoWhite(const std::uint32_t* pixels, std::size_t count)
    {
        ThrowIfStopped(request_.stop);
        picture_->addPixelsOntoWhite(pixels, count);
    }
    // `rows` whole stored rows of one colour, 0xffRRGGBB, from the start of a row.
    void addRowsOf(std::uint32_t colour, std::size_t rows)
    {
        ThrowIfStopped(request_.stop);
        picture_->addRowsOf(colour, rows);
    }
    // The picture, upright; or, for a decoding whose rows go to a sink, a null picture once
    // every row has gone there.
    Picture finish();

private:
    const DecodeRequest& request_;
    MemoryReservation reservation_;
    std::size_t bytes_ = 0;
    bool streams_ = false; // the rows go to the request's sink as they are made
    std::optional<ReducedPicture> picture_;
};
