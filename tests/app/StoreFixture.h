#pragma once

#include "fakes/FakePlatform.h"
#include "core/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

// The faked platform, whose desktop folder and web browser can be made to fail.
class FailingPlatform : public FakePlatform {
public:
    bool desktopFails = false;
    bool browserFails = false;

    QString DesktopFolder() override
    {
        if (desktopFails)
            throw Failure(FailureNumber::PathFileAccess, "The desktop folder is not known");
        return FakePlatform::DesktopFolder();
    }
    bool OpenWebAddress(const QString& address) override
    {
        FakePlatform::OpenWebAddress(address);
        return !browserFails;
    }
};

// Each test starts from an empty per-user store (the test program points the store at a
// temporary folder) and may look at the settings file itself.
class StoreFixture : public ::testing::Test {
protected:
    StoreFixture() { emptyStore(); }
    // Tests break the file on purpose; the tests after them find an empty store.
    ~StoreFixture() override { emptyStore(); }

    static void emptyStore()
    {
        const QString folder = QFileInfo(settingsFile()).absolutePath();
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }

    static QString settingsFile()
    {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Orlenby"),
                         QStringLiteral("Vantelle"))
            .fileName();
    }

    static void writeSettingsFile(const QByteArray& contents)
    {
        QFile file(settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }

    static QByteArray settingsFileContents()
    {
        QFile file(settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::optional<QString> stored(const QString& key) { return platform.StoredSetting(key); }

    FailingPlatform platform;
};
