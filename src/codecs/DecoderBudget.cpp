#include "codecs/DecoderBudget.h"

bool DecoderMemory::take(std::size_t bytes)
{
    if (bytes > limit_)
        return false;
    std::unique_lock lock(mutex_);
    if (whenShort_ == WhenShort::Refuse && used_ + bytes > limit_)
        return false;
    released_.wait(lock, [&] { return used_ + bytes <= limit_; });
    used_ += bytes;
    return true;
}

std::size_t DecoderMemory::taken()
{
    const std::lock_guard lock(mutex_);
    return used_;
}

void DecoderMemory::giveBack(std::size_t bytes)
{
    {
        const std::lock_guard lock(mutex_);
        used_ -= bytes;
    }
    released_.notify_all();
}

bool MemoryReservation::take(DecoderMemory& memory, std::size_t bytes)
{
    release();
    if (!memory.take(bytes))
        return false;
    memory_ = &memory;
    bytes_ = bytes;
    return true;
}

void MemoryReservation::release()
{
    if (memory_)
        memory_->giveBack(bytes_);
    memory_ = nullptr;
    bytes_ = 0;
}

QString TooMuchMemoryCause(std::size_t bytes, std::size_t limit, std::size_t others)
{
    constexpr double MiB = 1024.0 * 1024.0;
    if (others > 0 && bytes <= limit)
        return QStringLiteral("decoding it needs %1 MiB beside the other picture's %2 MiB, more than the %3 MiB a job may "
                              "use for decoding")
            .arg(static_cast<qint64>(bytes / MiB + 0.5))
            .arg(static_cast<qint64>(others / MiB + 0.5))
            .arg(static_cast<qint64>(limit / MiB + 0.5));
    return QStringLiteral("decoding it needs %1 MiB, more than the %2 MiB a job may use for decoding")
        .arg(static_cast<qint64>(bytes / MiB + 0.5))
        .arg(static_cast<qint64>(limit / MiB + 0.5));
}
