#include "job/PathRoutines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char* path;
    const char* expected;
};

void PrintTo(const PathCase& c, std::ostream* os)
{
    *os << '"' << c.path << '"';
}

class CleanWindowsPath : public ::testing::TestWithParam<PathCase> {};
class CleanPosixPath : public ::testing::TestWithParam<PathCase> {};
class ParentFolderOf : public ::testing::TestWithParam<PathCase> {};

} // namespace

TEST_P(CleanWindowsPath, RemovesDoubledSeparatorsAndKeepsANetworkPrefix)
{
    EXPECT_EQ(CleanPath(QString::fromUtf8(GetParam().path), WindowsPaths), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Table, CleanWindowsPath, ::testing::Values(
    PathCase{"", ""},
    PathCase{R"(C:\a\\b)", R"(C:\a\b)"},
    PathCase{R"(C:\Out\\result.jpg)", R"(C:\Out\result.jpg)"},
    PathCase{R"(C:\Out\result.jpg)", R"(C:\Out\result.jpg)"},
    // one pass only: three in a row become two, and four become two
    PathCase{R"(C:\a\\\b)", R"(C:\a\\b)"},
    PathCase{R"(C:\a\\\\b)", R"(C:\a\\b)"},
    // a leading run of any length becomes exactly two
    PathCase{R"(\x)", R"(\\x)"},
    PathCase{R"(\\server\share\\result.jpg)", R"(\\server\share\result.jpg)"},
    PathCase{R"(\\\\srv\x)", R"(\\srv\x)"},
    PathCase{R"(\\\\)", R"(\\)"},
    PathCase{R"(D:\Bilder\Ärger ü\\result.jpg)", R"(D:\Bilder\Ärger ü\result.jpg)"}));

TEST_P(CleanPosixPath, KeepsOneLeadingSeparator)
{
    EXPECT_EQ(CleanPath(QString::fromUtf8(GetParam().path), PosixPaths), QString::fromUtf8(GetParam().expected));
}

// A leading pair would make the path a network address when the viewer is asked to open it.
INSTANTIATE_TEST_SUITE_P(Table, CleanPosixPath, ::testing::Values(
    PathCase{"", ""},
    PathCase{"/home/ann/out//result.jpg", "/home/ann/out/result.jpg"},
    PathCase{"//result.jpg", "/result.jpg"},
    PathCase{"///home/ann", "/home/ann"},
    PathCase{"out//result.jpg", "out/result.jpg"},
    PathCase{"/a///b", "/a//b"},
    PathCase{"/tmp/new folder (2)/日本//result.jpg", "/tmp/new folder (2)/日本/result.jpg"}));

TEST_P(ParentFolderOf, KeepsEverythingUpToTheLastSeparator)
{
    EXPECT_EQ(ParentFolder(QString::fromUtf8(GetParam().path), u'\\'), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Table, ParentFolderOf, ::testing::Values(
    PathCase{R"(C:\Pics\a.jpg)", R"(C:\Pics\)"},
    PathCase{R"(C:\)", R"(C:\)"},
    PathCase{R"(\\srv\share\a.jpg)", R"(\\srv\share\)"},
    PathCase{"a.jpg", ""},
    PathCase{"", ""}));

TEST(FolderExists, IsYesOnlyForAnExistingFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path();
    QFile file(folder + QStringLiteral("/picture.jpg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("Photos.bmp ü")));

    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(FolderExists(folder + QStringLiteral("/")));
    EXPECT_TRUE(FolderExists(folder + QStringLiteral("/Photos.bmp ü/")));
    EXPECT_FALSE(FolderExists(folder + QStringLiteral("/picture.jpg")));
    EXPECT_FALSE(FolderExists(folder + QStringLiteral("/missing")));
    EXPECT_FALSE(FolderExists(QString()));
    EXPECT_FALSE(FolderExists(QString::fromUtf8("\0bad", 4)));
}
