#pragma once

#include "platform/MessageSink.h"
#include "platform/SettingsStore.h"

#include <QString>

#include <optional>

// The per-user settings file: INI format at user scope, organisation "Orlenby", application
// and section "Vantelle". A problem never stops the program: a file that cannot be read
// counts as empty, a value that cannot be read counts as absent. Each problem comes back as
// a text for the user.

struct StoredSettingRead {
    std::optional<QString> value;
    QString problem;
};

// A damaged file gives what can still be read, and a copy of it is kept beside it, since
// the next write keeps only the settings that could be read.
StoredSettingRead ReadSettingsFile(const QString& key);

struct StoredSettingWrite {
    bool saved;
    QString problem;
};

// Replaces or creates one key and leaves every other key as it was. Once saved, the file has
// reached the disk. A damaged file is noted as for a read, and the write goes ahead.
StoredSettingWrite WriteSettingsFile(const QString& key, const QString& value);

// The settings file as the program's store. A problem is told once, not at every keystroke;
// a write that succeeds again lets the next problem be told.
class SettingsFileStore : public SettingsStore {
public:
    explicit SettingsFileStore(MessageSink& messages) : messages_(messages) {}

    std::optional<QString> StoredSetting(const QString& key) override;
    void StoreSetting(const QString& key, const QString& value) override;

private:
    void reportProblem(const QString& problem);

    MessageSink& messages_;
    bool problemShown_ = false;
};
