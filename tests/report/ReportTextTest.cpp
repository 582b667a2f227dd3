#include "report/ReportText.h"

#include <gtest/gtest.h>

TEST(ReportText, JoinsTheFixedFormToTheByte)
{
    EXPECT_EQ(ReportText(QStringLiteral("File not found"), ProcedureIdentity(QStringLiteral("PushButton3_Click")), 106),
              QStringLiteral("File not found\r\n"
                             "in Corvasse2021/08/31.Form1.PushButton3_Click at line 106\r\r"
                             "Please email screenshot of this message to support@orlenby.example"));
}

TEST(ReportText, AnEmptyDescriptionLeavesAnEmptyFirstLine)
{
    EXPECT_EQ(ReportText(QString(), ProcedureIdentity(QStringLiteral("Form_Load")), 100),
              QStringLiteral("\r\nin Corvasse2021/08/31.Form1.Form_Load at line 100\r\r"
                             "Please email screenshot of this message to support@orlenby.example"));
}
