#include "app/ExportChoices.h"

#include "app/Settings.h"

ExportChoices ReadExportChoices(SettingsStore& store, const QString& defaultFile)
{
    ExportChoices choices;
    choices.file = ReadSetting(store, SettingKeys::ExportFile, defaultFile);
    if (choices.file.isEmpty())
        choices.file = defaultFile;
    choices.size = ExportSizeFromText(ReadSetting(store, SettingKeys::ExportSize)).value_or(ExportSize{});
    choices.fit = ReadSetting(store, SettingKeys::ExportFit) == QLatin1String("cover") ? PictureFit::Cover : PictureFit::Stretch;
    bool whole = false;
    const int quality = ReadSetting(store, SettingKeys::ExportQuality).toInt(&whole);
    choices.quality = whole && quality >= 1 && quality <= 100 ? quality : DefaultExportQuality;
    return choices;
}

void WriteExportChoices(SettingsStore& store, const ExportChoices& choices)
{
    WriteSetting(store, SettingKeys::ExportFile, choices.file);
    WriteSetting(store, SettingKeys::ExportSize, ExportSizeText(choices.size));
    WriteSetting(store, SettingKeys::ExportFit,
                 choices.fit == PictureFit::Cover ? QStringLiteral("cover") : QStringLiteral("stretch"));
    WriteSetting(store, SettingKeys::ExportQuality, QString::number(choices.quality));
}
