#pragma once

#include "engine/PictureFit.h"
#include "job/ExportBlend.h"
#include "job/ExportFormat.h"
#include "platform/SettingsStore.h"

#include <QString>

// What the export dialog asks for, as stored between runs.
struct ExportChoices {
    QString file;
    ExportSize size;
    PictureFit fit = PictureFit::Stretch;
    int quality = 100;
};

// The stored choices; a missing or unreadable one takes its default (`defaultFile` for the
// file), so a damaged store never stops an export.
ExportChoices ReadExportChoices(SettingsStore& store, const QString& defaultFile);
void WriteExportChoices(SettingsStore& store, const ExportChoices& choices);
