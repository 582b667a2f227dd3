#pragma once

#include "platform/MessageSink.h"
#include "platform/SettingsStore.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// The per-user settings file: INI format at user scope, organisation "Orlenby", application
// and section "Vantelle". A problem never stops the program: a file that cannot be read
// counts as empty, a value that cannot be read counts as absent. Each problem comes back as
// a text for the user. Only a file is ever opened: a folder, a named pipe or a device in its
// place counts as a file that cannot be read, and nothing is written over it.

// The most a settings file may hold. Seven short settings take a few hundred bytes, and the
// file is read whole at every change of a setting; a larger file is not ours, and counts as
// damaged.
inline constexpr qint64 MostSettingsFileBytes = 1024 * 1024;

struct StoredSettingRead {
    std::optional<QString> value;
    QString problem;
};

// A damaged file (not clean UTF-8 settings text, see IsCleanIniText) gives what can still be
// read, and a copy of it is kept beside it, since the next write keeps only the settings that
// could be read; a file larger than MostSettingsFileBytes is moved aside whole and read as
// empty. Copies are numbered (".damaged", ".damaged-2", ...) and never replace one another;
// while the file stays as it was, its copy is kept once.
StoredSettingRead ReadSettingsFile(const QString& key);

struct StoredSettingWrite {
    bool saved;
    QString problem;
};

// Replaces or creates one key and leaves every other key as it was. Once saved, the file has
// reached the disk. A damaged file is noted as for a read, and the write goes ahead once its
// copy is kept; when no copy can be kept, or the file cannot be read, nothing is written.
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
