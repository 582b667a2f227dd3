#pragma once

#include "platform/Platform.h"

#include <random>

// The platform on Qt: real dialogs, shell, settings file and picture decoders.
class QtPlatform : public Platform {
public:
    QtPlatform();

    void MsgBox(QWidget* owner, const QString& text, int style, const QString& title) override;
    QString GetOpenFileName(QWidget* owner, const QString& title, const QString& filter) override;
    QString BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder) override;

    bool OpenDocument(const QString& path) override;
    bool OpenWebAddress(const QString& address) override;
    QString DesktopFolder() override;
    QString ProgramFolder() override;

    double NextRandom() override;

    std::optional<QString> StoredSetting(const QString& key) override;
    void StoreSetting(const QString& key, const QString& value) override;

    Picture LoadPicture(const QString& path) override;
    QCursor LoadCursorFile(const QString& path) override;

private:
    // A settings problem is told once, not at every keystroke; a write that succeeds again
    // lets the next problem be told.
    void reportSettingsProblem(const QString& problem);

    std::mt19937 random_;
    bool settingsProblemShown_ = false;
};
