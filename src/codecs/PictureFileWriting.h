#pragma once

#include "codecs/PictureRowWriter.h"
#include "platform/FileSystem.h"

#include <QString>

#include <cstdint>
#include <exception>

// What the picture writers share: the form of failure of all but the JPEG one, and the checks
// every row writer makes.

// Throws Failure "Cannot save the picture <file>: <cause>", with the path and the cause.
[[noreturn]] void FailSavingPicture(int number, const QString& path, const QString& cause);

// Throws the failure of a file that could not be written, naming the file and the cause.
[[noreturn]] void FailWritingPicture(const QString& path, const WriteError& error);

// A row writer that refuses a row past the last and a finish before it, and that repeats its
// first failure at every later step, so that the library under it is never called again after
// it gave up.
class CheckedRowWriter : public PictureRowWriter {
public:
    void writeRow(const std::uint32_t* row) final;
    void finish() final;

protected:
    explicit CheckedRowWriter(int height) : height_(height) {}
    // The row y from the top, given in order.
    virtual void putRow(const std::uint32_t* row, int y) = 0;
    // Completes the file with every row written.
    virtual void complete() = 0;
    // Throws the failure of a wrong number of rows, in the writer's own form.
    [[noreturn]] virtual void refuseRows(const QString& cause) const = 0;

private:
    template <typename Step>
    void takeStep(Step step);

    int height_;
    int rows_ = 0;
    bool completed_ = false;
    std::exception_ptr failure_;
};
