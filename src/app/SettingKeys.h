#pragma once

// Every setting the program stores, with the text that start-up takes when the key is
// missing. Start-up reads them and the handlers write them through these names only.
struct SettingKey {
    const char* name;
    // Empty for a key whose default is known only at run time, or which is never read.
    const char* defaultText;
};

namespace SettingKeys {
inline constexpr SettingKey Image1{"Image 1", ""};
inline constexpr SettingKey Image2{"Image 2", ""};
// The default is the desktop folder, with a trailing separator.
inline constexpr SettingKey OutputFolder{"Text4", ""};
// The blend side: 1 left, 2 right, 3 top, 4 bottom.
inline constexpr SettingKey Side{"Option", "1"};
inline constexpr SettingKey SaveInOutputFolder{"Option5", "1"};
inline constexpr SettingKey SaveBesideOriginal{"Option6", "0"};
// The folder last chosen in the folder browser; kept for the user, never read back.
inline constexpr SettingKey LastFolder{"LastFolderDot", ""};
// Whether the preview window was open when the program last ran: "True" or "False".
inline constexpr SettingKey Preview{"Preview", "False"};
// The choices of the last export, written when an export is started from its dialog: the
// file (the default, blend.jpg in the job's output folder, is known only at run time), the
// size ("window", "first", "second" or WIDTHxHEIGHT), the fit ("stretch" or "cover") and the
// quality (1 to 100).
inline constexpr SettingKey ExportFile{"Export File", ""};
inline constexpr SettingKey ExportSize{"Export Size", "window"};
inline constexpr SettingKey ExportFit{"Export Fit", "stretch"};
inline constexpr SettingKey ExportQuality{"Export Quality", "100"};
} // namespace SettingKeys
