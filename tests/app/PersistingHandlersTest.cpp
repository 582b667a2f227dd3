#include "FormOnStore.h"

#include <QTest>

namespace {

class PersistingHandlersTest : public FormOnStore {};

TEST_F(PersistingHandlersTest, EveryKeystrokeStoresTheWholeTextOfItsField)
{
    const struct {
        QLineEdit* Form1::*field;
        const char* key;
    } fields[] = {{&Form1::Text1, "Image 1"}, {&Form1::Text2, "Image 2"}, {&Form1::Text4, "Text4"}};
    for (const auto& f : fields) {
        QLineEdit* box = form().*f.field;
        box->setText(QStringLiteral("/pic"));
        QTest::keyClicks(box, QStringLiteral("s/"));
        box->insert(QStringLiteral("ü"));
        EXPECT_EQ(stored(QString::fromLatin1(f.key)), QStringLiteral("/pics/ü")) << f.key;
        box->clear();
        EXPECT_EQ(stored(QString::fromLatin1(f.key)), QString()) << "an emptied field is stored empty";
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PersistingHandlersTest, ClickingADirectionStoresItsNumber)
{
    OptionButton* const directions[] = {form().Option1, form().Option2, form().Option3, form().Option4};
    for (int i : {2, 0, 3, 1}) {
        QTest::mouseClick(directions[i], Qt::LeftButton);
        EXPECT_TRUE(directions[i]->isChecked());
        EXPECT_EQ(stored(QStringLiteral("Option")), QString::number(i + 1));
    }
}

TEST_F(PersistingHandlersTest, ABlendTopClickComesBackAtTheNextStart)
{
    form().Form_Load();
    QTest::mouseClick(form().Option3, Qt::LeftButton);
    form().Text1->setText(QStringLiteral("/a.jpg"));

    Form1 next(platform);
    next.Form_Load();
    EXPECT_TRUE(next.Option3->isChecked());
    EXPECT_FALSE(next.Option1->isChecked());
    EXPECT_EQ(next.Text1->text(), QStringLiteral("/a.jpg"));
}

} // namespace
