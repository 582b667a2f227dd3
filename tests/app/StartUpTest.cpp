#include "FormOnStore.h"

#include "app/ApplicationTitle.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include <vector>

namespace {

class StartUpTest : public FormOnStore {
protected:
    OptionButton* selectedDirection()
    {
        OptionButton* selected = nullptr;
        for (OptionButton* option : {form().Option1, form().Option2, form().Option3, form().Option4})
            if (option->isChecked()) {
                EXPECT_EQ(selected, nullptr) << "two directions selected";
                selected = option;
            }
        return selected;
    }
};

TEST_F(StartUpTest, FirstStartOnAnEmptyStore)
{
    form().Form_Load();

    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(form().windowTitle(), QStringLiteral("Vantelle"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Vantelle"));
    EXPECT_EQ(form().Text1->text(), QString());
    EXPECT_EQ(form().Text2->text(), QString());
    EXPECT_EQ(form().Text4->text(), QStringLiteral("/home/user/Desktop/"));
    EXPECT_EQ(selectedDirection(), form().Option1);
    EXPECT_TRUE(form().Option5->isChecked());
    EXPECT_FALSE(form().Option6->isChecked());
    EXPECT_TRUE(form().Frame3->isEnabled());

    // Only what restoring changed was written back.
    EXPECT_EQ(stored(QStringLiteral("Option")), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("Text4")), QStringLiteral("/home/user/Desktop/"));
    for (const char* key : {"Image 1", "Image 2", "Option5", "Option6", "LastFolderDot"})
        EXPECT_FALSE(stored(QString::fromLatin1(key))) << key;
}

TEST_F(StartUpTest, TheWindowGetsTheApplicationIconInEverySize)
{
    form().Form_Load();
    const QList<QSize> sizes = form().windowIcon().availableSizes();
    for (int side : {32, 48, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
}

// The icon is a data file beside the program: without it start-up goes on silently and the
// window keeps the desktop's icon; one that cannot be read is reported, and start-up goes on.
TEST_F(StartUpTest, AMissingIconIsNoFailureAndABrokenOneIsReported)
{
    ownProgramFolder();
    const QString icon = platform.programFolder + QStringLiteral("/icons/vantelle.ico");
    ASSERT_TRUE(QFile::remove(icon));
    {
        Form1 window(platform);
        window.Form_Load();
        EXPECT_TRUE(platform.messages.empty()) << platform.messages[0].text.toStdString();
        EXPECT_FALSE(window.testAttribute(Qt::WA_SetWindowIcon));
        EXPECT_EQ(window.Text4->text(), QStringLiteral("/home/user/Desktop/")) << "start-up went on";
    }

    writeFile(icon, "no icon in here");
    form().Form_Load();
    expectOneStartUpReport(104);
    EXPECT_EQ(form().Text4->text(), QStringLiteral("/home/user/Desktop/"));
}

struct StoredCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> stored;
    int direction; // 1 to 4, or 0 for none
    bool option5;
    bool option6;
    int reportLine; // 0 for no report
    std::vector<std::pair<const char*, const char*>> afterwards;
};

class StoredValues : public StartUpTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredValues, AreRestoredWithTheirKnockOnWrites)
{
    const StoredCase& c = GetParam();
    for (const auto& [key, value] : c.stored)
        platform.StoreSetting(QString::fromLatin1(key), QString::fromUtf8(value));

    form().Form_Load();

    OptionButton* const directions[] = {nullptr, form().Option1, form().Option2, form().Option3, form().Option4};
    EXPECT_EQ(selectedDirection(), directions[c.direction]);
    EXPECT_EQ(form().Option5->isChecked(), c.option5);
    EXPECT_EQ(form().Option6->isChecked(), c.option6);
    EXPECT_EQ(form().Frame3->isEnabled(), c.option5);
    if (c.reportLine)
        expectOneStartUpReport(c.reportLine);
    else
        EXPECT_TRUE(platform.messages.empty()) << platform.messages[0].text.toStdString();
    for (const auto& [key, value] : c.afterwards)
        EXPECT_EQ(stored(QString::fromLatin1(key)), QString::fromUtf8(value)) << key;
}

INSTANTIATE_TEST_SUITE_P(StartUp, StoredValues, ::testing::Values(
    StoredCase{"BlendTop", {{"Option", "3"}}, 3, true, false, 0, {{"Option", "3"}}},
    StoredCase{"BlendBottom", {{"Option", "4.4"}}, 4, true, false, 0, {{"Option", "4"}}},
    StoredCase{"NineSelectsNothing", {{"Option", "9"}}, 0, true, false, 0, {{"Option", "9"}}},
    StoredCase{"ZeroSelectsNothing", {{"Option", "0"}}, 0, true, false, 0, {{"Option", "0"}}},
    StoredCase{"TextIsReported", {{"Option", "abc"}, {"Option5", "False"}, {"Option6", "True"}},
               0, false, true, 118, {{"Option", "abc"}}},
    StoredCase{"EmptyIsReported", {{"Option", ""}}, 0, true, false, 118, {}},
    StoredCase{"FolderOfOriginal", {{"Option5", "False"}, {"Option6", "True"}}, 1, false, true, 0,
               {{"Option5", "False"}, {"Option6", "True"}}},
    StoredCase{"NeitherSaveOption", {{"Option5", "False"}, {"Option6", "False"}}, 1, false, false, 0,
               {{"Option5", "False"}, {"Option6", "False"}}},
    StoredCase{"BothSaveOptions", {{"Option5", "True"}, {"Option6", "True"}}, 1, false, true, 0,
               {{"Option5", "False"}, {"Option6", "True"}}},
    StoredCase{"NumbersAsYesNo", {{"Option5", "0"}, {"Option6", "-1"}}, 1, false, true, 0,
               {{"Option5", "False"}, {"Option6", "True"}}},
    StoredCase{"Option5NotConverted", {{"Option5", "yes"}}, 1, true, false, 120, {{"Option5", "yes"}}},
    StoredCase{"Option6NotConverted", {{"Option6", ""}}, 1, true, false, 122, {{"Option6", ""}}}),
    [](const ::testing::TestParamInfo<StoredCase>& info) { return std::string(info.param.name); });

TEST_F(StartUpTest, StoredFieldsComeBackAsTheyWereAndAnEmptyFolderStaysEmpty)
{
    platform.StoreSetting(QStringLiteral("Image 1"), QStringLiteral("/pictures/a b,c.jpg"));
    platform.StoreSetting(QStringLiteral("Image 2"), QStringLiteral("  /pictures/ü.jpg "));
    platform.StoreSetting(QStringLiteral("Text4"), QString());

    form().Form_Load();

    EXPECT_EQ(form().Text1->text(), QStringLiteral("/pictures/a b,c.jpg"));
    EXPECT_EQ(form().Text2->text(), QStringLiteral("  /pictures/ü.jpg "));
    EXPECT_EQ(form().Text4->text(), QString());
    EXPECT_EQ(stored(QStringLiteral("Text4")), QString());
}

TEST_F(StartUpTest, UnknownDesktopIsReportedAndLeavesTheFolderEmptyEvenWhenOneIsStored)
{
    platform.StoreSetting(QStringLiteral("Text4"), QStringLiteral("/stored/"));
    platform.desktopFails = true;

    form().Form_Load();

    expectOneStartUpReport(116);
    EXPECT_EQ(form().Text4->text(), QString());
    EXPECT_EQ(selectedDirection(), form().Option1);
}

TEST_F(StartUpTest, OnlyTheDrawOfSevenOpensTheHomePage)
{
    const struct {
        double random;
        bool opens;
    } cases[] = {{0.06, true}, {0.065, true}, {0.0699, true}, {0.07, false}, {0.0599, false},
                 {0.0, false}, {0.5, false}, {0.9999, false}};
    for (const auto& c : cases) {
        FakePlatform draw;
        draw.randomValue = c.random;
        Form1 window(draw);
        window.Form_Load();
        EXPECT_EQ(draw.openedWebAddresses.size(), c.opens ? 1 : 0) << c.random;
        EXPECT_EQ(window.Text4->text(), QStringLiteral("/home/user/Desktop/")) << "start-up went on";
    }
}

TEST_F(StartUpTest, HomePageThatCannotBeOpenedIsReportedAndStartUpGoesOn)
{
    platform.randomValue = 0.06;
    platform.browserFails = true;

    form().Form_Load();

    expectOneStartUpReport(110);
    EXPECT_TRUE(platform.openedWebAddresses.first().startsWith(QStringLiteral("https://")));
    EXPECT_EQ(form().Text4->text(), QStringLiteral("/home/user/Desktop/"));
}

TEST(ApplicationTitleTest, DropsTheLastWordAndMoreUntilFortyCharactersAtMost)
{
    const struct {
        QString product;
        QString title;
    } cases[] = {
        {QStringLiteral("Vantelle"), QStringLiteral("Vantelle")},
        {QStringLiteral("Quick Brown Foxes Jumpedx Overhead"), QStringLiteral("Quick Brown Foxes Jumpedx")},
        {QStringLiteral("Abcdefghi Bcdefghij Cdefghijk Defghijkl Efghijklm Fghijklmn"),
         QStringLiteral("Abcdefghi Bcdefghij Cdefghijk Defghijkl")},
        {QStringLiteral("One Two"), QStringLiteral("One")},
        {QStringLiteral("Trailing "), QStringLiteral("Trailing")},
        {QStringLiteral("No\u00a0break\tspace"), QStringLiteral("No\u00a0break\tspace")},
        {QString(45, QLatin1Char('x')) + QStringLiteral(" y"), QString(45, QLatin1Char('x'))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplicationTitle(c.product), c.title) << c.product.toStdString();
}

TEST_F(StartUpTest, ClosingTheWindowEndsTheProgram)
{
    // The program ends through Form_Unload, not because its last window closed.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    form().Form_Load();
    form().show();
    QTimer::singleShot(0, &form(), [this] { form().close(); });
    // Should closing not end the event loop, this ends it with a code of its own.
    QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    QGuiApplication::setQuitOnLastWindowClosed(true);
    EXPECT_FALSE(form().isVisible());
}

} // namespace
