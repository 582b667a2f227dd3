#pragma once

#include "app/SettingKeys.h"
#include "platform/SettingsStore.h"

#include <QString>

#include <cstdint>

// The program keeps no copy of its settings: the controls of the main window hold the live
// values, start-up reads the stored ones once, and every change is written when it happens.
// The store is the platform's per-user store; application and section are fixed there.

// The stored text of the key, exactly as stored (empty included), or the key's default when
// it does not exist or cannot be read; the second form gives a default known only at run time.
QString ReadSetting(SettingsStore& store, const SettingKey& key);
QString ReadSetting(SettingsStore& store, const SettingKey& key, const QString& defaultValue);

// Creates the key or replaces its text; stored for good when the call returns. A store that
// refuses the write tells the user itself, so callers need no error handling of their own.
void WriteSetting(SettingsStore& store, const SettingKey& key, const QString& value);

// The conversions of stored texts at start-up. Both throw Failure: "Type mismatch" for a
// text that is no value of the kind (empty text included), "Overflow" for a number outside
// the signed 16-bit range.
//
// Decimal text, a fraction rounded to the nearest whole number with ties to even.
std::int16_t SettingAsWholeNumber(const QString& text);
// "True" or "False" in any letter case, or a decimal number: zero is no, any other yes.
bool SettingAsYesNo(const QString& text);
