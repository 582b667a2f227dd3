#pragma once

#include "core/StopFlag.h"
#include "engine/Resample.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <vector>

// The rows of the two pictures of an export on their way from the two decoding threads to
// the one that blends and encodes them: each picture has a ring of a few rows, so a decoder
// waits while its ring is full and the blending waits until both pictures have the row it
// needs. The decoders' stop flag is set once their rows are no longer wanted: the blending
// failed or was stopped, or the other picture failed.
class PairRows {
public:
    enum Side { Base, Overlay };

    PairRows(int width, int ringRows);

    // The sink a decoder of that picture hands its rows to; a decoder whose rows are no longer
    // wanted is stopped there.
    RowSink& sinkOf(Side side) { return lanes_[side].sink; }
    // The flag the decoders check at every row.
    const StopFlag& decodersStop() const { return decodersStop_; }
    // Stops the decoders at their next row.
    void stopDecoders();

    // A decoding thread ends: with every row handed on, or with the failure it threw. Once a
    // picture has failed, the other's rows are taken and dropped, so that its decoding runs on
    // to its own end.
    void ended(Side side, std::exception_ptr failure);

    // Row y of both pictures, waiting until both have made it; null when a picture ended
    // without it (its failure is then in failureOf()). `userStop` is looked at while waiting.
    struct Rows {
        const std::uint32_t* base;
        const std::uint32_t* overlay;
    };
    std::optional<Rows> waitFor(int y, const StopFlag* userStop);
    // The rows of waitFor() are read: their places take the next rows.
    void release();
    // Waits until both decoding threads have ended; a set `userStop` stops them.
    void waitForEnds(const StopFlag* userStop);
    // What the decoding of that picture threw, once it has ended.
    std::exception_ptr failureOf(Side side);

private:
    struct Lane;
    class LaneSink : public RowSink {
    public:
        LaneSink(PairRows& pair, Lane& lane) : pair_(pair), lane_(lane) {}
        void takeRow(int y, const std::uint32_t* row) override;

    private:
        PairRows& pair_;
        Lane& lane_;
    };
    struct Lane {
        Lane(PairRows& pair, std::size_t pixels) : ring(pixels), sink(pair, *this) {}
        std::vector<std::uint32_t> ring;
        LaneSink sink;
        int made = 0;     // rows handed in
        int released = 0; // rows read and given back
        bool ended = false;
        std::exception_ptr failure;
    };

    std::uint32_t* slot(Lane& lane, int row);

    int width_;
    int ringRows_;
    StopFlag decodersStop_{false};
    bool dropping_ = false; // a picture failed: the other's rows are no longer kept
    std::mutex mutex_;
    std::condition_variable changed_;
    Lane lanes_[2];
};
