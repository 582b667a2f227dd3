#pragma once
// TEMPORARY stand-in until the row writers land.
#include "core/Picture.h"
#include "core/StopFlag.h"
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>
class PictureRowWriter {
public:
    virtual ~PictureRowWriter() = default;
    virtual void writeRow(const std::uint32_t* row) = 0;
    virtual void finish() = 0;
};
std::unique_ptr<PictureRowWriter> StartExportFile(const QString& path, QSize size, int quality, const StopFlag* stop);
