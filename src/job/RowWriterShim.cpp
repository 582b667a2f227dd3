#include "job/RowWriterShim.h"
#include "core/PixelMemory.h"
#include "job/ExportFormat.h"
#include <cstring>
namespace {
class Gathering : public PictureRowWriter {
public:
    Gathering(const QString& path, QSize size, int quality, const StopFlag* stop)
        : path_(path), size_(size), quality_(quality), stop_(stop), pixels_(NewPixels(std::size_t(size.width()) * std::size_t(size.height()))) {}
    void writeRow(const std::uint32_t* row) override
    {
        std::memcpy(pixels_.get() + std::size_t(y_++) * std::size_t(size_.width()), row, std::size_t(size_.width()) * 4);
    }
    void finish() override { WriteExport(Picture::fromPixels(pixels_, size_.width(), size_.height()), path_, quality_, stop_); }
private:
    QString path_; QSize size_; int quality_; const StopFlag* stop_; std::shared_ptr<std::uint32_t[]> pixels_; int y_ = 0;
};
}
std::unique_ptr<PictureRowWriter> StartExportFile(const QString& path, QSize size, int quality, const StopFlag* stop)
{
    return std::make_unique<Gathering>(path, size, quality, stop);
}
