#include "cli/TerminalProgress.h"

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

constexpr qint64 ShowAfterMs = 500;

} // namespace

TerminalProgress::TerminalProgress(std::FILE* stream) : stream_(stream), terminal_(isatty(fileno(stream)) != 0)
{
    clock_.start();
}

TerminalProgress::~TerminalProgress()
{
    if (shownPercent_ >= 0) {
        // Carriage return, then erase to the end of the line.
        std::fputs("\r\x1b[K", stream_);
        std::fflush(stream_);
    }
}

void TerminalProgress::show(double done)
{
    if (!terminal_ || clock_.elapsed() < ShowAfterMs)
        return;
    const int percent = static_cast<int>(done * 100);
    const std::lock_guard lock(mutex_);
    if (percent == shownPercent_)
        return;
    shownPercent_ = percent;
    std::fprintf(stream_, "\rvantelle-blend: exporting, %3d%%", percent);
    std::fflush(stream_);
}
