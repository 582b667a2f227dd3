#include "inputs/FormWithFakePlatform.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

namespace {

class PictureDropTest : public FormWithFakePlatform {
protected:
    PictureDropTest() { form->show(); }

    QString makeFile(const QString& name)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("picture");
        return path;
    }

    static std::unique_ptr<QMimeData> links(const QStringList& paths)
    {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << (path.contains(QStringLiteral("://")) ? QUrl(path) : QUrl::fromLocalFile(path));
        data->setUrls(urls);
        return data;
    }

    struct DropResult {
        bool enterAccepted;
        bool dropAccepted;
        Qt::DropAction action;
    };

    // A drag from a file manager: it enters over the target and is released there.
    static DropResult drag(QWidget* target, const QMimeData& data,
                           Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction)
    {
        QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        return {enter.isAccepted(), drop.isAccepted(), drop.dropAction()};
    }

    QTemporaryDir folder;
};

TEST_F(PictureDropTest, OneFileDroppedOnAFieldOrItsFrameReplacesThatFieldAsACopy)
{
    const QString picture = makeFile(QStringLiteral("beach at noon #2 100%20.2021.08.31.v2.jpg"));
    struct Target {
        QWidget* widget;
        QLineEdit* filled;
        QLineEdit* untouched;
    };
    for (const Target& target : {Target{form->Text1, form->Text1, form->Text2},
                                 Target{form->Frame4, form->Text1, form->Text2},
                                 Target{form->PushButton1, form->Text1, form->Text2},
                                 Target{form->Text2, form->Text2, form->Text1},
                                 Target{form->Frame5, form->Text2, form->Text1}}) {
        target.filled->setText(QStringLiteral("/pictures/former.jpg"));
        target.untouched->setText(QStringLiteral("/pictures/other.jpg"));
        const DropResult result = drag(target.widget, *links({picture}));
        EXPECT_TRUE(result.enterAccepted) << target.widget->objectName().toStdString();
        EXPECT_TRUE(result.dropAccepted);
        // A move would let the file manager delete the user's picture.
        EXPECT_EQ(result.action, Qt::CopyAction);
        EXPECT_EQ(target.filled->text(), QDir::toNativeSeparators(picture));
        EXPECT_EQ(target.untouched->text(), QStringLiteral("/pictures/other.jpg"));
    }
    EXPECT_EQ(stored(QStringLiteral("Image 2")), QDir::toNativeSeparators(picture));
}

// Two pictures chosen in a file manager and dropped at once: the first fills "Image #1", the
// second "Image #2", whichever field or frame they are dropped on.
TEST_F(PictureDropTest, TwoFilesDroppedAtOnceFillBothFieldsInTheirOrder)
{
    const QString first = makeFile(QStringLiteral("coast at dusk.jpg"));
    const QString second = makeFile(QStringLiteral("harbour.png"));
    for (QWidget* target : std::initializer_list<QWidget*>{form->Text1, form->Frame4, form->Text2, form->Frame5}) {
        const std::string name = target->objectName().toStdString();
        form->Text1->setText(QStringLiteral("/pictures/former one.jpg"));
        form->Text2->setText(QStringLiteral("/pictures/former two.jpg"));
        const DropResult result = drag(target, *links({first, second}));
        EXPECT_TRUE(result.enterAccepted) << name;
        EXPECT_TRUE(result.dropAccepted) << name;
        EXPECT_EQ(result.action, Qt::CopyAction) << name;
        EXPECT_EQ(form->Text1->text(), QDir::toNativeSeparators(first)) << name;
        EXPECT_EQ(form->Text2->text(), QDir::toNativeSeparators(second)) << name;
        EXPECT_EQ(stored(QStringLiteral("Image 1")), QDir::toNativeSeparators(first)) << name;
        EXPECT_EQ(stored(QStringLiteral("Image 2")), QDir::toNativeSeparators(second)) << name;
    }
    drag(form->Text2, *links({second, first}));
    EXPECT_EQ(form->Text1->text(), QDir::toNativeSeparators(second));
    EXPECT_EQ(form->Text2->text(), QDir::toNativeSeparators(first));
}

TEST_F(PictureDropTest, DropsThatAreNotOneOrTwoLocalFilesAreRefused)
{
    const QString one = makeFile(QStringLiteral("one.jpg"));
    const QString two = makeFile(QStringLiteral("two.jpg"));
    const QString three = makeFile(QStringLiteral("three.jpg"));
    const QStringList refused[] = {
        {one, two, three},
        {one, folder.path()},
        {folder.filePath(QStringLiteral("gone.jpg")), two},
        {one, QStringLiteral("https://example.com/picture.jpg")},
        {folder.path()},
        {folder.filePath(QStringLiteral("gone.jpg"))},
        {QStringLiteral("https://example.com/picture.jpg")},
    };
    for (const QStringList& paths : refused) {
        for (QWidget* target : {static_cast<QWidget*>(form->Text1), static_cast<QWidget*>(form->Frame4)}) {
            form->Text1->setText(QStringLiteral("/pictures/former.jpg"));
            const DropResult result = drag(target, *links(paths));
            EXPECT_FALSE(result.enterAccepted) << paths.join(QLatin1Char(',')).toStdString();
            EXPECT_FALSE(result.dropAccepted);
            EXPECT_EQ(form->Text1->text(), QStringLiteral("/pictures/former.jpg"));
        }
    }
}

TEST_F(PictureDropTest, AMoveOnlyDragIsRefused)
{
    const QString picture = makeFile(QStringLiteral("one.jpg"));
    form->Text1->setText(QStringLiteral("/pictures/former.jpg"));
    const DropResult result = drag(form->Text1, *links({picture}), Qt::MoveAction);
    EXPECT_FALSE(result.dropAccepted);
    EXPECT_EQ(form->Text1->text(), QStringLiteral("/pictures/former.jpg"));
    EXPECT_TRUE(QFile::exists(picture));
}

} // namespace
