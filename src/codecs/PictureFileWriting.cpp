#include "codecs/PictureFileWriting.h"

#include "core/Failure.h"

#include <QDir>

void FailSavingPicture(int number, const QString& path, const QString& cause)
{
    throw Failure(number,
                  QStringLiteral("Cannot save the picture %1: %2").arg(QDir::toNativeSeparators(path), cause).toStdString(),
                  path.toStdString(), cause.toStdString());
}

void FailWritingPicture(const QString& path, const WriteError& error)
{
    FailSavingPicture(error.cause == WriteError::Cause::FolderMissing ? FailureNumber::PathNotFound
                                                                      : FailureNumber::PathFileAccess,
                      path, error.reason);
}

template <typename Step>
void CheckedRowWriter::takeStep(Step step)
{
    if (failure_)
        std::rethrow_exception(failure_);
    try {
        step();
    } catch (...) {
        failure_ = std::current_exception();
        throw;
    }
}

void CheckedRowWriter::writeRow(const std::uint32_t* row)
{
    takeStep([&] {
        if (rows_ == height_)
            refuseRows(QStringLiteral("a row was given beyond the picture's %1 rows").arg(height_));
        putRow(row, rows_);
        ++rows_;
    });
}

void CheckedRowWriter::finish()
{
    takeStep([&] {
        if (completed_)
            refuseRows(QStringLiteral("the file is complete already"));
        if (rows_ != height_)
            refuseRows(QStringLiteral("only %1 of the picture's %2 rows were given").arg(rows_).arg(height_));
        complete();
        completed_ = true;
    });
}
