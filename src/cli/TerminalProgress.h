#pragma once

#include <QElapsedTimer>

#include <cstdio>
#include <mutex>

// A one-line progress of an export on a terminal: shown only once the export has run for half a
// second, rewritten in place, and wiped when the export ends, so that the terminal is left as
// a quick run leaves it. Nothing at all when the stream is not a terminal.
class TerminalProgress {
public:
    explicit TerminalProgress(std::FILE* stream);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // The share done, 0 to 1; from any thread.
    void show(double done);

private:
    std::FILE* stream_;
    bool terminal_;
    QElapsedTimer clock_;
    std::mutex mutex_;
    int shownPercent_ = -1;
};
