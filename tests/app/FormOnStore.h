#pragma once

#include "StoreFixture.h"

#include "app/Form1.h"
#include "core/Failure.h"

#include <QTemporaryDir>

#include <memory>

// The main window on the faked platform over an empty store. The program folder is the
// build's, where the skin, the cursor and the icon lie beside the program.
class FormOnStore : public StoreFixture {
protected:
    Form1& form()
    {
        if (!form_)
            form_ = std::make_unique<Form1>(platform);
        return *form_;
    }

    // A program folder of the test's own, for a skin or cursor that is missing or broken;
    // it holds the application icon alone.
    void ownProgramFolder()
    {
        const QString icons = programFolder_.path() + QStringLiteral("/icons");
        QDir().mkpath(icons);
        QFile::copy(platform.programFolder + QStringLiteral("/icons/vantelle.ico"), icons + QStringLiteral("/vantelle.ico"));
        platform.programFolder = programFolder_.path();
    }

    // Writes a file under the program folder, making its folders.
    static void writeFile(const QString& path, const QByteArray& contents)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    // The report of the one failure that start-up showed, or a test failure.
    void expectOneStartUpReport(int line)
    {
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].title, QStringLiteral("Application Error"));
        EXPECT_TRUE(platform.messages[0].text.contains(
            QStringLiteral(".Form1.Form_Load at line %1\r").arg(line)))
            << platform.messages[0].text.toStdString();
    }

private:
    QTemporaryDir programFolder_;
    std::unique_ptr<Form1> form_;
};
