#include "job/PairRows.h"

#include <chrono>
#include <cstring>

namespace {

// How often a wait looks at the user's stop flag: well inside the tenth of a second a stop
// may take.
constexpr std::chrono::milliseconds StopLook(10);

} // namespace

PairRows::PairRows(int width, int ringRows)
    : width_(width), ringRows_(ringRows),
      lanes_{Lane(*this, std::size_t(width) * std::size_t(ringRows)), Lane(*this, std::size_t(width) * std::size_t(ringRows))}
{
}

std::uint32_t* PairRows::slot(Lane& lane, int row)
{
    return lane.ring.data() + std::size_t(row % ringRows_) * std::size_t(width_);
}

void PairRows::stopDecoders()
{
    decodersStop_.store(true);
    std::lock_guard lock(mutex_);
    changed_.notify_all();
}

void PairRows::LaneSink::takeRow(int, const std::uint32_t* row)
{
    PairRows& pair = pair_;
    std::uint32_t* place = nullptr;
    {
        std::unique_lock lock(pair.mutex_);
        pair.changed_.wait(lock, [&] {
            return pair.decodersStop_ || pair.dropping_ || lane_.made - lane_.released < pair.ringRows_;
        });
        if (pair.decodersStop_)
            throw Stopped();
        if (pair.dropping_)
            return;
        place = pair.slot(lane_, lane_.made);
    }
    // The place is the decoder's alone until the row is counted as made.
    std::memcpy(place, row, std::size_t(pair.width_) * sizeof(std::uint32_t));
    std::lock_guard lock(pair.mutex_);
    ++lane_.made;
    pair.changed_.notify_all();
}

void PairRows::ended(Side side, std::exception_ptr failure)
{
    std::lock_guard lock(mutex_);
    Lane& lane = lanes_[side];
    lane.ended = true;
    lane.failure = failure;
    if (failure)
        dropping_ = true;
    changed_.notify_all();
}

std::optional<PairRows::Rows> PairRows::waitFor(int y, const StopFlag* userStop)
{
    std::unique_lock lock(mutex_);
    const auto has = [&](const Lane& lane) { return lane.made > y; };
    const auto lost = [&](const Lane& lane) { return !has(lane) && lane.ended; };
    for (;;) {
        if (has(lanes_[Base]) && has(lanes_[Overlay]))
            return Rows{slot(lanes_[Base], y), slot(lanes_[Overlay], y)};
        if (lost(lanes_[Base]) || lost(lanes_[Overlay]))
            return std::nullopt;
        if (userStop && userStop->load(std::memory_order_relaxed))
            throw Stopped();
        changed_.wait_for(lock, StopLook);
    }
}

void PairRows::release()
{
    std::lock_guard lock(mutex_);
    ++lanes_[Base].released;
    ++lanes_[Overlay].released;
    changed_.notify_all();
}

void PairRows::waitForEnds(const StopFlag* userStop)
{
    std::unique_lock lock(mutex_);
    while (!lanes_[Base].ended || !lanes_[Overlay].ended) {
        if (userStop && userStop->load(std::memory_order_relaxed) && !decodersStop_) {
            decodersStop_.store(true);
            changed_.notify_all();
        }
        changed_.wait_for(lock, StopLook);
    }
}

std::exception_ptr PairRows::failureOf(Side side)
{
    std::lock_guard lock(mutex_);
    return lanes_[side].failure;
}
