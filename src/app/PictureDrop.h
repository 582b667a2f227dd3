#pragma once

#include <QString>

#include <initializer_list>

class QLineEdit;
class QMimeData;
class QWidget;

// Lets a picture file dragged from a file manager onto any of the targets (a field and its
// frame) fill the field: its local path replaces the field's whole text. Drags of plain text
// keep the field's usual behaviour; drags of links that are not exactly one local file are
// refused, so a field never receives a list or a folder.
void AcceptPictureDrops(QLineEdit* field, std::initializer_list<QWidget*> targets);

// The one local file that a drag carries, in native separators, or empty text when the drag
// carries links but not exactly one existing local file.
QString DroppedFile(const QMimeData& data);
