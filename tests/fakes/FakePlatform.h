#pragma once

#include "fakes/TestPictures.h"
#include "desktop/CursorFile.h"
#include "codecs/PictureDecoder.h"
#include "desktop/Platform.h"
#include "platform/SettingsFile.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// The platform with everything that would reach outside the process faked: message boxes,
// dialogs, the shell and the random draw are recorded or answered from a script. Files,
// pictures and the settings store stay real (tests point the store at a temporary folder);
// the store's warnings come to the recorded message boxes.
class FakePlatform : public Platform {
public:
    struct Message {
        QString text;
        int style;
        QString title;
    };

    std::vector<Message> messages;
    QStringList openedDocuments;
    QStringList openedWebAddresses;

    // What the dialogs answer, one entry per call; empty text (cancel) when none is queued.
    std::deque<QString> openFileAnswers;
    std::deque<QString> folderAnswers;
    std::deque<QString> saveFileAnswers;
    struct OpenFileCall {
        QString title;
        QString startFolder;
        QString filter;
    };
    struct FolderCall {
        QString title;
        QString startFolder;
    };
    std::vector<OpenFileCall> openFileCalls;
    struct SaveFileCall {
        QString title;
        QString startFile;
        QString filter;
        QString selectedFilter;
    };
    std::vector<FolderCall> folderCalls;
    std::vector<SaveFileCall> saveFileCalls;

    QString desktopFolder = QStringLiteral("/home/user/Desktop");
    QString picturesFolder = QStringLiteral("/home/user/Pictures");
    QString programFolder = QStringLiteral(VANTELLE_PROGRAM_DIR_IN_BUILD);
    double randomValue = 0.5;
    // The pixels of every picture loaded, to tell whether anything still holds them.
    std::vector<std::weak_ptr<const void>> loadedPictures;
    // Runs inside each message box, as the user's reading time would.
    std::function<void(const Message&)> onMessage;

    void MsgBox(QWidget*, const QString& text, int style, const QString& title) override
    {
        messages.push_back({text, style, title});
        if (onMessage)
            onMessage(messages.back());
    }
    QString GetOpenFileName(QWidget*, const QString& title, const QString& startFolder, const QString& filter) override
    {
        openFileCalls.push_back({title, startFolder, filter});
        return next(openFileAnswers);
    }
    QString BrowseForFolder(QWidget*, const QString& title, const QString& start) override
    {
        folderCalls.push_back({title, start});
        return next(folderAnswers);
    }
    QString GetSaveFileName(QWidget*, const QString& title, const QString& startFile, const QString& filter,
                            const QString& selectedFilter) override
    {
        saveFileCalls.push_back({title, startFile, filter, selectedFilter});
        return next(saveFileAnswers);
    }
    bool OpenDocument(const QString& path) override
    {
        openedDocuments << path;
        return true;
    }
    bool OpenWebAddress(const QString& address) override
    {
        openedWebAddresses << address;
        return true;
    }
    QString DesktopFolder() override { return desktopFolder; }
    QString PicturesFolder() override { return picturesFolder; }
    QString ProgramFolder() override { return programFolder; }
    double NextRandom() override { return randomValue; }

    std::optional<QString> StoredSetting(const QString& key) override { return settings.StoredSetting(key); }
    void StoreSetting(const QString& key, const QString& value) override { settings.StoreSetting(key, value); }
    Picture LoadPicture(const QString& path) override
    {
        Picture picture = pictures.LoadPicture(path);
        // A job loads its two pictures at the same time.
        const std::lock_guard<std::mutex> lock(loadedPicturesMutex);
        loadedPictures.push_back(picture.owner);
        return picture;
    }
    QCursor LoadCursorFile(const QString& path) override { return LoadCursorFromFile(path); }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Message& m : messages)
            texts << m.text;
        return texts;
    }

private:
    std::mutex loadedPicturesMutex;
    SettingsFileStore settings{*this};
    PictureFileLoader pictures{CanvasSize};

    static QString next(std::deque<QString>& answers)
    {
        if (answers.empty())
            return QString();
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
