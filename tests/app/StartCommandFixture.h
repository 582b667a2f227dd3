#pragma once

#include "app/Form1.h"
#include "app/SolidPictureFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The main window on a platform of the test's own, shown, with two pictures (red and blue),
// "Blend Left" and an existing, empty output folder that the start button writes into.
template <typename TestPlatform>
class StartCommandFixture : public ::testing::Test {
protected:
    StartCommandFixture()
    {
        SaveSolidPictureFiles({{first, Qt::red}, {second, Qt::blue}}, QSize(60, 40));
        EXPECT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
        form.Text1->setText(first);
        form.Text2->setText(second);
        form.Text4->setText(outFolder);
        form.Option5->setChecked(true);
        form.Option1->setChecked(true);
        form.show();
    }

    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("red.png"));
    const QString second = dir.filePath(QStringLiteral("blue.png"));
    const QString outFolder = dir.filePath(QStringLiteral("out"));
    const QString result = outFolder + QStringLiteral("/result.jpg");
    TestPlatform platform;
    Form1 form{platform};
};
