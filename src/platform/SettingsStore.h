#pragma once

#include <QString>

#include <optional>

// The per-user settings store; application and section are fixed by the store.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key does not exist or cannot be read.
    virtual std::optional<QString> StoredSetting(const QString& key) = 0;
    // Creates or replaces the key; stored for good when the call returns. A store that
    // refuses the write tells the user itself.
    virtual void StoreSetting(const QString& key, const QString& value) = 0;
};
