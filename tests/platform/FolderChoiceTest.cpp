#include "platform/FolderChoice.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

struct FirstFolderCase {
    const char* name;
    QStringList candidates;
    QStringList existing;
    const char* chosen;
};

class FirstExistingFolderTest : public ::testing::TestWithParam<FirstFolderCase> {};

TEST_P(FirstExistingFolderTest, TakesTheFirstCandidateThatExists)
{
    QStringList asked;
    const QSet<QString> existing(GetParam().existing.begin(), GetParam().existing.end());
    const QString chosen = FirstExistingFolder(GetParam().candidates, [&](const QString& folder) {
        asked << folder;
        return existing.contains(folder);
    });
    EXPECT_EQ(chosen, QString::fromUtf8(GetParam().chosen));
    EXPECT_FALSE(asked.contains(QString())) << "an unknown place is not looked for";
}

// The default output folder's candidates: desktop, Pictures, home.
INSTANTIATE_TEST_SUITE_P(
    Candidates, FirstExistingFolderTest,
    ::testing::Values(
        FirstFolderCase{"DesktopWhereItExists", {"/home/ann/Desktop", "/home/ann/Pictures", "/home/ann"},
                        {"/home/ann/Desktop", "/home/ann/Pictures", "/home/ann"}, "/home/ann/Desktop"},
        FirstFolderCase{"PicturesWithoutADesktop", {"/home/ann/Desktop", "/home/ann/Pictures", "/home/ann"},
                        {"/home/ann/Pictures", "/home/ann"}, "/home/ann/Pictures"},
        FirstFolderCase{"HomeWithNeither", {"/home/ann/Desktop", "/home/ann/Pictures", "/home/ann"}, {"/home/ann"},
                        "/home/ann"},
        FirstFolderCase{"NothingWhenNoneExists", {"/home/ann/Desktop", "/home/ann"}, {}, ""},
        FirstFolderCase{"UnknownPlacesArePassedOver", {"", "/home/ann/Pictures"}, {"", "/home/ann/Pictures"},
                        "/home/ann/Pictures"},
        FirstFolderCase{"NoCandidates", {}, {"/"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct DataFolderCase {
    const char* name;
    const char* executableFolder;
    bool holdsDataFiles;
    const char* dataFolder;
};

class DataFolderTest : public ::testing::TestWithParam<DataFolderCase> {};

TEST_P(DataFolderTest, BesideTheProgramWhenTheDataIsThereElseInShare)
{
    const QString executableFolder = QString::fromUtf8(GetParam().executableFolder);
    QString looked;
    const QString folder = DataFolderFor(executableFolder, [&](const QString& candidate) {
        looked = candidate;
        return GetParam().holdsDataFiles;
    });
    EXPECT_EQ(looked, executableFolder);
    EXPECT_EQ(folder, QString::fromUtf8(GetParam().dataFolder));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, DataFolderTest,
    ::testing::Values(DataFolderCase{"BuildTree", "/home/ann/vantelle/build/src", true, "/home/ann/vantelle/build/src"},
                      DataFolderCase{"InstalledInUsr", "/usr/bin", false, "/usr/share/vantelle"},
                      DataFolderCase{"InstalledUnderAPrefix", "/opt/My Tools/bin", false,
                                     "/opt/My Tools/share/vantelle"},
                      DataFolderCase{"CopiedWithItsData", "/opt/My Tools/bin", true, "/opt/My Tools/bin"},
                      DataFolderCase{"AtTheRoot", "/", false, "/share/vantelle"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
