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

} // namespace
