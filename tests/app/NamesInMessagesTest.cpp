#include "app/Form1.h"
#include "app/SolidPictureFiles.h"
#include "app/LivePreview.h"
#include "app/PreviewWindow.h"

#include "StoreFixture.h"
#include "job/FileFaults.h"
#include "report/ReportText.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The main window on the faked platform with a red picture #1, a blue picture #2, "Blend
// Left" and an existing output folder; and a picture name holding a terminal's escape
// sequences, a bell and a line break, as it reads once they are written out.
class NamesInMessagesTest : public StoreFixture {
protected:
    NamesInMessagesTest()
    {
        SaveSolidPictureFiles({{red, Qt::red}, {blue, Qt::blue}}, QSize(40, 30));
        EXPECT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
        form->Text1->setText(red);
        form->Text2->setText(blue);
        form->Text4->setText(in(QStringLiteral("out/")));
        form->Option5->setChecked(true);
        form->Option1->setChecked(true);
    }

    QString in(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    static QString report(const QString& description, int line)
    {
        return ReportText(description, ProcedureIdentity(QStringLiteral("PushButton2_Click")), line);
    }

    QTemporaryDir dir;
    const QString red = in(QStringLiteral("red.png"));
    const QString blue = in(QStringLiteral("blue.png"));
    const QString hostile = in(QStringLiteral("gone\x1b[2J\x1b]0;x\a\r\n.jpg"));
    const QString hostileShown = in(QStringLiteral("gone\\e[2J\\e]0;x\\a\\r\\n.jpg"));
    std::unique_ptr<Form1> form = std::make_unique<Form1>(platform);
};

} // namespace

// The report keeps its designed form and number of lines: an empty field is said to name no
// picture, and a name's control characters show written out.
TEST_F(NamesInMessagesTest, TheReportSaysThatNoPictureWasNamedAndShowsControlCharactersWrittenOut)
{
    struct Case {
        QString text1;
        QString text2;
        QString report;
    };
    const Case cases[] = {
        {QString(), blue, report(QStringLiteral("File not found: no picture was named"), 114)},
        {red, QString(), report(QStringLiteral("File not found: no picture was named"), 116)},
        {red, hostile, report(QStringLiteral("File not found: ") + hostileShown, 116)},
    };
    for (const Case& c : cases) {
        platform.messages.clear();
        form->Text1->setText(c.text1);
        form->Text2->setText(c.text2);
        form->PushButton2_Click();

        ASSERT_EQ(platform.messageTexts().join(QLatin1Char('|')).toStdString(), c.report.toStdString());
        // Only the report's own breaks: CR LF after the description, two CRs before the request.
        EXPECT_EQ(c.report.count(QLatin1Char('\n')), 1);
        EXPECT_EQ(c.report.count(QLatin1Char('\r')), 3);
    }
}

TEST_F(NamesInMessagesTest, ThePreviewShowsControlCharactersWrittenOutInItsOneLine)
{
    form->preview().showAction().trigger();
    ASSERT_TRUE(form->preview().window().isVisible());
    form->Text2->setText(hostile);
    const QString line = QStringLiteral("Image #2: File not found: ") + hostileShown;
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->preview().window().message() == line; }, 10000))
        << form->preview().window().message().toStdString();
}
