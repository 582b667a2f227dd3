#include "app/PreviewPlace.h"

#include <algorithm>
#include <array>

namespace {

// Between the main window and the preview.
constexpr int Gap = 8;

enum class Side { Right, Left, Below, Above };
// Beside the main window first, as the preview was designed to go.
constexpr std::array<Side, 4> Sides = {Side::Right, Side::Left, Side::Below, Side::Above};

// The room on the screen on one side of the main window, the gap left out.
QSize roomBeside(Side side, const QRect& main, const QRect& screen)
{
    switch (side) {
    case Side::Right:
        return {screen.right() - main.right() - Gap, screen.height()};
    case Side::Left:
        return {main.left() - Gap - screen.left(), screen.height()};
    case Side::Below:
        return {screen.width(), screen.bottom() - main.bottom() - Gap};
    case Side::Above:
        return {screen.width(), main.top() - Gap - screen.top()};
    }
    return {};
}

// A frame of this size against that side of the main window: level with its top beside it,
// in line with its left edge above or below it.
QRect frameAgainst(Side side, const QSize& size, const QRect& main)
{
    switch (side) {
    case Side::Right:
        return {QPoint(main.right() + 1 + Gap, main.top()), size};
    case Side::Left:
        return {QPoint(main.left() - Gap - size.width(), main.top()), size};
    case Side::Below:
        return {QPoint(main.left(), main.bottom() + 1 + Gap), size};
    case Side::Above:
        return {QPoint(main.left(), main.top() - Gap - size.height()), size};
    }
    return {};
}

// Moves a frame onto the screen as far as it fits there.
QRect onScreen(const QRect& frame, const QRect& screen)
{
    const int x = std::clamp(frame.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - frame.width()));
    const int y = std::clamp(frame.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - frame.height()));
    return {QPoint(x, y), frame.size()};
}

// The preferred size made to fit the room, its shape kept; never larger than preferred.
QSize fittedInto(const QSize& preferred, const QSize& room)
{
    if (room.width() <= 0 || room.height() <= 0)
        return {};
    if (room.width() >= preferred.width() && room.height() >= preferred.height())
        return preferred;
    return preferred.scaled(room, Qt::KeepAspectRatio);
}

qint64 area(const QSize& size)
{
    return static_cast<qint64>(size.width()) * size.height();
}

} // namespace

QRect PreviewFrame(const QRect& mainFrame, const QSize& preferred, const QSize& smallest, const QRect& screen)
{
    QRect best;
    for (const Side side : Sides) {
        const QSize size = fittedInto(preferred, roomBeside(side, mainFrame, screen));
        if (size == preferred && (side == Side::Right || side == Side::Left))
            return onScreen(frameAgainst(side, size, mainFrame), screen);
        if (size.width() >= smallest.width() && size.height() >= smallest.height() && area(size) > area(best.size()))
            best = onScreen(frameAgainst(side, size, mainFrame), screen);
    }
    if (!best.isNull())
        return best;

    // No room anywhere: the smallest preview, where it hides the least of the main window.
    qint64 leastCovered = -1;
    for (const Side side : Sides) {
        const QRect frame = onScreen(frameAgainst(side, smallest, mainFrame), screen);
        const qint64 covered = area(frame.intersected(mainFrame).size());
        if (leastCovered < 0 || covered < leastCovered) {
            leastCovered = covered;
            best = frame;
        }
    }
    return best;
}
