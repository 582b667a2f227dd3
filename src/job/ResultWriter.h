#pragma once

#include "core/Picture.h"

#include <QString>
#include <QStringList>

// The writer of a result file follows the extension of the file's name, in any case: ".bmp"
// gives a Windows bitmap, ".jpg" a JPEG. A ".bmp" elsewhere in the path (a folder named
// "Photos.bmp") does not count.
enum class ResultFormat { Invalid, Bmp, Jpeg };
ResultFormat ResultFormatOf(const QString& path);

// The quality of every JPEG result.
inline constexpr int ResultQuality = 100;

// Writes a blended result with the writer its name calls for; an earlier file of that name is
// replaced only by a complete new one. Throws Failure: the writer's own, or "Invalid output
// file format" for a name with neither extension.
void WriteResult(const Picture& image, const QString& path);

// Throws Failure "Cannot write <output>: <cause>", with the output and the cause as its path
// and cause.
[[noreturn]] void FailWriting(const QString& output, int number, const QString& cause);

// A result never takes the place of one of the pictures it is made from. Refuses an output
// that is the same file as one of the pictures (#1, #2, ... in the order given): by name, or
// through a symbolic or a hard link. Throws Failure naming the output and the picture.
void RefuseWritingOverAPicture(const QString& output, const QStringList& pictures);
