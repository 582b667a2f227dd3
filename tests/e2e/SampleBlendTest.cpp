#include "inputs/FormWithFakePlatform.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

// The whole program as a first-time user meets it: the window starts on an empty store, the
// sample pair is loaded with one button and blended with the start button. Only the viewer and
// the message boxes are faked; pictures, writers and files are real.
namespace {

class SampleBlendTest : public FormWithFakePlatform {
protected:
    SampleBlendTest()
    {
        platform.desktopFolder = QDir::toNativeSeparators(desktop.path());
        form->Form_Load();
        form->show();
    }

    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    static QImage decoded(const QString& path)
    {
        QImageReader reader(path);
        return reader.read().convertToFormat(QImage::Format_RGB32);
    }

    // The mean difference per channel between two pictures over a band of columns.
    static double bandDifference(const QImage& a, const QImage& b, int firstColumn, int columns)
    {
        long long sum = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = firstColumn; x < firstColumn + columns; ++x) {
                const QRgb p = a.pixel(x, y);
                const QRgb q = b.pixel(x, y);
                sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            }
        return static_cast<double>(sum) / (3.0 * a.height() * columns);
    }

    // The written result: a 729 x 425 JPEG that shows picture #1 at its left edge and fades
    // into picture #2 towards its right edge (the designed "Blend Left" from the start).
    void expectBlendOfTheSamples(const QString& resultPath)
    {
        EXPECT_EQ(QImageReader(resultPath).format(), QByteArray("jpeg"));
        const QImage result = decoded(resultPath);
        ASSERT_EQ(result.size(), QSize(729, 425));
        const QImage first = decoded(form->Text1->text());
        const QImage second = decoded(form->Text2->text());
        EXPECT_LT(bandDifference(result, first, 0, 4), 8);
        EXPECT_GT(bandDifference(result, second, 0, 4), 30);
        EXPECT_LT(bandDifference(result, second, 725, 4), 8);
        EXPECT_GT(bandDifference(result, first, 725, 4), 30);
    }

    QTemporaryDir desktop;
};

TEST_F(SampleBlendTest, SamplesBlendIntoResultOnTheDesktopWhichOpensInTheViewer)
{
    EXPECT_TRUE(platform.messages.empty()) << platform.messageTexts().join(QLatin1Char('|')).toStdString();
    click(form->PushButton7);
    click(form->PushButton2);

    const QString resultPath = QDir::toNativeSeparators(desktop.filePath(QStringLiteral("result.jpg")));
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(platform.openedDocuments, QStringList{resultPath});
    EXPECT_EQ(form->MousePointer(), Form1::PointerDefault);
    expectBlendOfTheSamples(resultPath);
}

TEST_F(SampleBlendTest, ResultGoesIntoTheFolderChosenInTheBrowser)
{
    QTemporaryDir chosenParent;
    const QString chosen = QDir::toNativeSeparators(chosenParent.filePath(QStringLiteral("My Results.2021.v2")));
    ASSERT_TRUE(QDir().mkpath(chosen));
    platform.folderAnswers.push_back(chosen);

    click(form->PushButton5);
    click(form->PushButton7);
    click(form->PushButton2);

    const QString resultPath = chosen + QDir::separator() + QStringLiteral("result.jpg");
    EXPECT_EQ(platform.messageTexts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(platform.openedDocuments, QStringList{resultPath});
    EXPECT_FALSE(QFile::exists(desktop.filePath(QStringLiteral("result.jpg"))));
    expectBlendOfTheSamples(resultPath);
}

// A program folder without its samples: the fields still get the sample paths, and the job
// reports the missing picture, writes nothing, opens nothing and keeps the earlier result.
TEST_F(SampleBlendTest, MissingSamplesAreReportedByTheJobAndTheEarlierResultStays)
{
    QTemporaryDir emptyProgramFolder;
    platform.programFolder = QDir::toNativeSeparators(emptyProgramFolder.path());
    const QString resultPath = QDir::toNativeSeparators(desktop.filePath(QStringLiteral("result.jpg")));
    QFile earlier(resultPath);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier result");
    earlier.close();

    click(form->PushButton7);
    EXPECT_TRUE(platform.messages.empty());
    click(form->PushButton2);

    // One report for each missing picture, naming it; no "Done.".
    ASSERT_EQ(platform.messages.size(), 2u) << platform.messageTexts().join(QLatin1Char('|')).toStdString();
    const QString missing[] = {form->Text1->text(), form->Text2->text()};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(platform.messages[i].title, QStringLiteral("Application Error"));
        EXPECT_TRUE(platform.messages[i].text.startsWith(QStringLiteral("File not found: ") + missing[i]));
        EXPECT_TRUE(platform.messages[i].text.contains(QStringLiteral("Form1.PushButton2_Click at line ")));
    }
    EXPECT_TRUE(platform.openedDocuments.isEmpty());
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier result"));
    EXPECT_EQ(form->MousePointer(), Form1::PointerDefault);
}

} // namespace
