#include "app/PreviewPictures.h"

#include "engine/PairComposition.h"
#include "platform/PictureLoader.h"
#include "report/Trap.h"

#include <utility>

PreviewPictures::PreviewPictures(PictureLoader& loader, std::function<void()> changed)
    : loader_(loader), changed_(std::move(changed))
{
}

PreviewPictures::~PreviewPictures()
{
    for (Slot& s : slots_)
        s.stop = true;
    for (Slot& s : slots_)
        if (s.worker.joinable())
            s.worker.join();
}

PreviewPictures::Slot& PreviewPictures::slot(int field)
{
    return slots_.at(static_cast<std::size_t>(field - 1));
}

const PreviewPictures::Field& PreviewPictures::field(int field) const
{
    return slots_.at(static_cast<std::size_t>(field - 1)).state;
}

void PreviewPictures::setPath(int field, const QString& path)
{
    Slot& s = slot(field);
    if (s.generation != 0 && s.state.path == path)
        return;
    ++s.generation;
    s.stop = true;
    s.state = Field{path, Picture(), QString(), false};
    const Field& other = this->field(3 - field);
    if (path.isEmpty()) {
        // Nothing to load; whatever is under way for the field is dropped when it ends.
    } else if (other.path == path && !other.loading) {
        s.state.reduced = other.reduced;
        s.state.failure = other.failure;
    } else {
        s.state.loading = true;
        if (!s.worker.joinable())
            startLoad(field);
    }
    changed_();
}

void PreviewPictures::clear()
{
    for (Slot& s : slots_) {
        ++s.generation;
        s.stop = true;
        s.state = Field();
    }
    changed_();
}

void PreviewPictures::startLoad(int field)
{
    Slot& s = slot(field);
    // No other load of the field runs now: the flag is this one's.
    s.stop = false;
    s.worker = std::thread([this, field, generation = s.generation, path = s.state.path, &stop = s.stop] {
        Picture reduced;
        QString failure;
        try {
            // The same steps as the start button's: the platform's loader, then the picture
            // stretched over a canvas; the full decoded picture goes as soon as that is done.
            Canvas canvas(0xffffff);
            FitPicture(canvas, loader_.LoadPictureUnlessStopped(path, stop));
            reduced = canvas.picture();
        } catch (...) {
            failure = FailureDescription(std::current_exception());
        }
        QMetaObject::invokeMethod(
            &receiver_, [this, field, generation, reduced, failure] { loadFinished(field, generation, reduced, failure); },
            Qt::QueuedConnection);
    });
}

void PreviewPictures::loadFinished(int field, std::uint64_t generation, const Picture& reduced, const QString& failure)
{
    Slot& s = slot(field);
    s.worker.join();
    if (generation != s.generation) {
        // A newer path was named meanwhile: drop this picture and load that one.
        if (s.state.loading)
            startLoad(field);
        return;
    }
    s.state.reduced = reduced;
    s.state.failure = failure;
    s.state.loading = false;
    changed_();
}
