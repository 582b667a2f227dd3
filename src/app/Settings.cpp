#include "app/Settings.h"

#include "engine/Rounding.h"
#include "core/Failure.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <system_error>

namespace {

[[noreturn]] void mismatch()
{
    throw Failure(FailureNumber::TypeMismatch, "Type mismatch");
}

// A decimal number with optional sign, fraction and exponent, blanks around it allowed.
// Empty when the text is no number; Overflow when it is one beyond any double.
std::optional<double> decimalNumber(const QString& text)
{
    // Letters beyond Latin-1 turn into '?', which no number holds.
    QByteArray digits = text.trimmed().toLatin1();
    const bool plus = digits.startsWith('+');
    if (plus)
        digits.remove(0, 1);
    if (digits.isEmpty() || (plus && digits.startsWith('-')))
        return std::nullopt;

    double value = 0;
    const char* const end = digits.constData() + digits.size();
    const auto [stop, error] = std::from_chars(digits.constData(), end, value, std::chars_format::general);
    if (stop != end)
        return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // Too small for a double is as good as zero; too large overflows.
        if (std::fabs(std::strtod(digits.constData(), nullptr)) < 1)
            return 0.0;
        throw Failure(FailureNumber::Overflow, "Overflow");
    }
    if (error != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

QString ReadSetting(SettingsStore& store, const SettingKey& key)
{
    return ReadSetting(store, key, QString::fromLatin1(key.defaultText));
}

QString ReadSetting(SettingsStore& store, const SettingKey& key, const QString& defaultValue)
{
    return store.StoredSetting(QString::fromLatin1(key.name)).value_or(defaultValue);
}

void WriteSetting(SettingsStore& store, const SettingKey& key, const QString& value)
{
    store.StoreSetting(QString::fromLatin1(key.name), value);
}

std::int16_t SettingAsWholeNumber(const QString& text)
{
    const std::optional<double> number = decimalNumber(text);
    if (!number)
        mismatch();
    return RoundToInt16(*number);
}

bool SettingAsYesNo(const QString& text)
{
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> number = decimalNumber(text);
    if (!number)
        mismatch();
    return *number != 0;
}
