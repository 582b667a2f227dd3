#pragma once

#include "desktop/CursorFile.h"
#include "desktop/DesktopShell.h"
#include "codecs/PictureDecoder.h"
#include "desktop/Platform.h"
#include "platform/SettingsFile.h"

// The window's platform on Qt: message boxes and dialogs of Qt Widgets, the desktop's shell,
// the settings file and the picture decoders.
class QtPlatform : public Platform {
public:
    QtPlatform();

    void MsgBox(QWidget* owner, const QString& text, int style, const QString& title) override;
    QString GetOpenFileName(QWidget* owner, const QString& title, const QString& startFolder,
                            const QString& filter) override;
    QString BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder) override;
    QString GetSaveFileName(QWidget* owner, const QString& title, const QString& startFile, const QString& filter,
                            const QString& selectedFilter) override;

    bool OpenDocument(const QString& path) override { return desktop_.OpenDocument(path); }
    bool OpenWebAddress(const QString& address) override { return desktop_.OpenWebAddress(address); }
    QString DesktopFolder() override { return desktop_.DesktopFolder(); }
    QString PicturesFolder() override { return desktop_.PicturesFolder(); }
    QString ProgramFolder() override { return desktop_.ProgramFolder(); }
    double NextRandom() override { return desktop_.NextRandom(); }

    std::optional<QString> StoredSetting(const QString& key) override { return settings_.StoredSetting(key); }
    void StoreSetting(const QString& key, const QString& value) override { settings_.StoreSetting(key, value); }

    Picture LoadPicture(const QString& path) override { return pictures_.LoadPicture(path); }
    Picture LoadPictureUnlessStopped(const QString& path, const StopFlag& stop) override
    {
        return pictures_.LoadPictureUnlessStopped(path, stop);
    }
    QCursor LoadCursorFile(const QString& path) override { return LoadCursorFromFile(path); }

private:
    DesktopShell desktop_;
    SettingsFileStore settings_{*this};
    PictureFileLoader pictures_;
};
