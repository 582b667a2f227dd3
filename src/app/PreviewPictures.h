#pragma once

#include "core/Picture.h"
#include "core/StopFlag.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <thread>

class PictureLoader;

// The two pictures of the preview, one per picture field, loaded in the background and kept
// only as stretched to the canvas: that is all the composition needs, so moving the band
// start or changing the side never decodes again, and the memory kept is two canvases' worth.
class PreviewPictures {
public:
    // What is known of one field's picture.
    struct Field {
        QString path;
        Picture reduced;  // the picture stretched over the canvas, once loaded
        QString failure;  // why it could not be loaded
        bool loading = false;
    };

    // `changed` runs on the window's thread whenever a field's state changes.
    PreviewPictures(PictureLoader& loader, std::function<void()> changed);
    // Stops the loads under way and waits for them to end; their results are dropped.
    ~PreviewPictures();
    PreviewPictures(const PreviewPictures&) = delete;
    PreviewPictures& operator=(const PreviewPictures&) = delete;

    // The field (1 or 2) now names this file. An empty path needs no load; the same path as
    // the other field's finished picture takes that picture. A load under way for the field's
    // earlier path is stopped.
    void setPath(int field, const QString& path);
    // Forgets both pictures, so that the next paths load afresh; loads under way are stopped.
    void clear();

    const Field& field(int field) const;

private:
    struct Slot {
        Field state;
        // Counts the requests; a load that finishes for an older one is dropped.
        std::uint64_t generation = 0;
        // At most one load per field runs at a time, which bounds the memory of decoding;
        // a newer request waits for it and starts when it ends.
        std::thread worker;
        // Set when the load under way is wanted no more; it then ends at its next row.
        StopFlag stop{false};
    };

    void startLoad(int field);
    void loadFinished(int field, std::uint64_t generation, const Picture& reduced, const QString& failure);
    Slot& slot(int field);

    PictureLoader& loader_;
    std::function<void()> changed_;
    std::array<Slot, 2> slots_;
    // Receives the finished loads on the window's thread; going away with this object, it
    // takes along any that are still queued.
    QObject receiver_;
};
