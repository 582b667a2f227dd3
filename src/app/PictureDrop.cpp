#include "app/PictureDrop.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace {

// At most one picture for each field.
constexpr qsizetype MostFiles = 2;

class PictureDropFilter : public QObject {
public:
    PictureDropFilter(QLineEdit* field, PictureFields fields) : QObject(field), field_(field), fields_(fields) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasUrls())
            return QObject::eventFilter(watched, event);

        const QStringList paths = DroppedFiles(*drop->mimeData());
        // Never accept a move: the file manager would then delete the user's picture.
        const Qt::DropAction action = (drop->possibleActions() & Qt::CopyAction) ? Qt::CopyAction
                                      : (drop->possibleActions() & Qt::LinkAction) ? Qt::LinkAction
                                                                                   : Qt::IgnoreAction;
        if (paths.isEmpty() || action == Qt::IgnoreAction) {
            drop->ignore();
            return true;
        }
        if (type == QEvent::Drop) {
            // As if typed, field by field: each change stores its path.
            if (paths.size() == 1) {
                field_->setText(paths[0]);
            } else {
                fields_.first->setText(paths[0]);
                fields_.second->setText(paths[1]);
            }
        }
        drop->setDropAction(action);
        drop->accept();
        return true;
    }

private:
    QLineEdit* field_;
    PictureFields fields_;
};

} // namespace

void AcceptPictureDrops(QLineEdit* field, std::initializer_list<QWidget*> targets, PictureFields fields)
{
    auto* filter = new PictureDropFilter(field, fields);
    for (QWidget* target : targets) {
        target->setAcceptDrops(true);
        target->installEventFilter(filter);
    }
}

QStringList DroppedFiles(const QMimeData& data)
{
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty() || urls.size() > MostFiles)
        return {};
    QStringList paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile())
            return {};
        paths << QDir::toNativeSeparators(url.toLocalFile());
    }
    return paths;
}
