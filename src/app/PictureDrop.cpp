#include "app/PictureDrop.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace {

class PictureDropFilter : public QObject {
public:
    explicit PictureDropFilter(QLineEdit* field) : QObject(field), field_(field) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasUrls())
            return QObject::eventFilter(watched, event);

        const QString path = DroppedFile(*drop->mimeData());
        // Never accept a move: the file manager would then delete the user's picture.
        const Qt::DropAction action = (drop->possibleActions() & Qt::CopyAction) ? Qt::CopyAction
                                      : (drop->possibleActions() & Qt::LinkAction) ? Qt::LinkAction
                                                                                   : Qt::IgnoreAction;
        if (path.isEmpty() || action == Qt::IgnoreAction) {
            drop->ignore();
            return true;
        }
        if (type == QEvent::Drop)
            field_->setText(path);
        drop->setDropAction(action);
        drop->accept();
        return true;
    }

private:
    QLineEdit* field_;
};

} // namespace

void AcceptPictureDrops(QLineEdit* field, std::initializer_list<QWidget*> targets)
{
    auto* filter = new PictureDropFilter(field);
    for (QWidget* target : targets) {
        target->setAcceptDrops(true);
        target->installEventFilter(filter);
    }
}

QString DroppedFile(const QMimeData& data)
{
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return QString();
    const QString path = urls.front().toLocalFile();
    if (!QFileInfo(path).isFile())
        return QString();
    return QDir::toNativeSeparators(path);
}
