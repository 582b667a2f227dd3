#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

class QLineEdit;
class QMimeData;
class QWidget;

// The two picture fields, "Image #1" and "Image #2".
struct PictureFields {
    QLineEdit* first;
    QLineEdit* second;
};

// Lets picture files dragged from a file manager onto any of the targets (a field and its
// frame) fill the fields: one file's local path replaces the whole text of that field, two
// files fill "Image #1" and "Image #2" in the order the drag holds them. Drags of plain text
// keep the field's usual behaviour; drags of links that are not one or two local files are
// refused, so a field never receives a list or a folder.
void AcceptPictureDrops(QLineEdit* field, std::initializer_list<QWidget*> targets, PictureFields fields);

// The one or two existing local files that a drag carries, in its order and in native
// separators; none when the drag carries links but not one or two existing local files.
QStringList DroppedFiles(const QMimeData& data);
