#include "inputs/FormWithFakePlatform.h"

namespace {

class CommandLinePicturesTest : public FormWithFakePlatform {
protected:
    CommandLinePicturesTest()
    {
        platform.StoreSetting(QStringLiteral("Image 1"), QStringLiteral("/pictures/stored one.jpg"));
        platform.StoreSetting(QStringLiteral("Image 2"), QStringLiteral("/pictures/stored two.jpg"));
        form->Form_Load();
    }
};

// As "Open With" starts the program: start-up restores the stored paths, and then the pictures
// given replace them as if typed, so they are stored for the next start as well.
TEST_F(CommandLinePicturesTest, FillTheFieldsInOrderAfterStartUpAndAreStored)
{
    struct Case {
        QStringList pictures;
        const char* text1;
        const char* text2;
    };
    const Case cases[] = {
        {{}, "/pictures/stored one.jpg", "/pictures/stored two.jpg"},
        {{"/home/ann/Pictures/coast at dusk.jpg"}, "/home/ann/Pictures/coast at dusk.jpg", "/pictures/stored two.jpg"},
        {{"/home/ann/a.jpg", "/home/ann/b.png"}, "/home/ann/a.jpg", "/home/ann/b.png"},
    };
    for (const Case& c : cases) {
        form->OpenPictures(c.pictures);
        EXPECT_EQ(form->Text1->text(), QString::fromUtf8(c.text1));
        EXPECT_EQ(form->Text2->text(), QString::fromUtf8(c.text2));
        EXPECT_EQ(stored(QStringLiteral("Image 1")), QString::fromUtf8(c.text1));
        EXPECT_EQ(stored(QStringLiteral("Image 2")), QString::fromUtf8(c.text2));
    }
    EXPECT_TRUE(platform.messages.empty());
}

// "Open With" on more pictures than there are fields: the first two fill the fields, and one
// message box over the window names the rest (up to five, then how many more).
TEST_F(CommandLinePicturesTest, MorePicturesThanFieldsFillBothAndTheRestAreNamedAsLeftOut)
{
    const QString intro = QStringLiteral("Only two pictures can be blended at a time. The first two named are in Image #1 "
                                         "and Image #2; these were left out:\r");
    struct Case {
        int pictures;
        QString message;
    };
    const Case cases[] = {
        {3, intro + QStringLiteral("\r/p/3.jpg")},
        {7, intro + QStringLiteral("\r/p/3.jpg\r/p/4.jpg\r/p/5.jpg\r/p/6.jpg\r/p/7.jpg")},
        {10, intro + QStringLiteral("\r/p/3.jpg\r/p/4.jpg\r/p/5.jpg\r/p/6.jpg\r/p/7.jpg\rand 3 more")},
    };
    for (const Case& c : cases) {
        platform.messages.clear();
        QStringList pictures;
        for (int i = 1; i <= c.pictures; ++i)
            pictures << QStringLiteral("/p/%1.jpg").arg(i);
        form->OpenPictures(pictures);

        EXPECT_EQ(form->Text1->text(), QStringLiteral("/p/1.jpg"));
        EXPECT_EQ(form->Text2->text(), QStringLiteral("/p/2.jpg"));
        EXPECT_EQ(stored(QStringLiteral("Image 2")), QStringLiteral("/p/2.jpg"));
        ASSERT_EQ(platform.messages.size(), 1u) << c.pictures;
        EXPECT_EQ(platform.messages[0].text, c.message);
        EXPECT_EQ(platform.messages[0].style, MsgBoxStyle::OkOnly);
        EXPECT_EQ(platform.messages[0].title, QString());
    }
}

} // namespace
