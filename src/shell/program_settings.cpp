#include "shell/program_settings.h"

#include "model/url.h"
#include "platform/user_files.h"
#include "readers/netscape_location.h"

namespace arkivo {
namespace {

constexpr const char* Browser = "Browser options";
constexpr const char* Export = "Export to disk properties";
constexpr const char* IeCacheKey = "IE cache folder";
constexpr const char* WebArchiveKey = "Write web archive";
constexpr std::size_t ValueLimit = 255;

const EmphasisTags DefaultCustomTags{"FONT FACE=\"Arial\"", "/FONT"};

// The preset of a stored "Emphasize Type": its lowest byte, anything but 0 to 3
// meaning bold face.
EmphasisPreset PresetOf(int stored) {
    const int lowest = stored & 0xFF;
    return lowest <= static_cast<int>(EmphasisPreset::Custom) ? static_cast<EmphasisPreset>(lowest)
                                                              : EmphasisPreset::Bold;
}

}  // namespace

EmphasisTags PresetTags(EmphasisPreset preset, const EmphasisTags& custom) {
    switch (preset) {
        case EmphasisPreset::Bold:
            break;
        case EmphasisPreset::Italic:
            return {"I", "/I"};
        case EmphasisPreset::Larger:
            return {"FONT SIZE=+1", "/FONT"};
        case EmphasisPreset::Custom:
            return custom;
    }
    return {"B", "/B"};
}

LinkOptions ProgramSettings::Links() const {
    return LinkOptions{ShowOriginalUrls, EmphasizeLinks, StrikeoutLinks, ActiveTags.Open,
                       ActiveTags.Close};
}

std::string StoredIeCache(const SettingsStore& store) {
    return store.ReadString(Browser, IeCacheKey, "");
}

ProgramSettings LoadProgramSettings(const SettingsStore& store, Edition edition) {
    ProgramSettings settings;
    if (edition == Edition::Nav) {
        settings.FatPath = store.ReadString(Browser, "FAT Path", FindCacheIndex());
    } else {
        settings.IeCache = StoredIeCache(store);
    }
    settings.DefaultDirectory = store.ReadString(Export, "Default directory", DefaultArchiveDir());
    settings.ShowOriginalUrls = store.ReadBool(Export, "Show original URLS", true);
    settings.EmphasizeLinks = store.ReadBool(Export, "Emphasize links", false);
    settings.StrikeoutLinks = store.ReadBool(Export, "Strikeout links", true);
    settings.CustomTags.Open = store.ReadString(Export, "EmphasizeTag", DefaultCustomTags.Open);
    settings.CustomTags.Close = store.ReadString(Export, "DeEmphasizeTag", DefaultCustomTags.Close);
    settings.Emphasis = PresetOf(store.ReadInteger(Export, "Emphasize Type", 0));
    // Only 1 selects the chosen directory; any other value counts as the default one.
    settings.UseChosenDirectory = store.ReadInteger(Export, "Export directory", 0) == 1;
    settings.ExportDirectoryName = store.ReadString(Export, "export directory name", "");
    settings.WriteWebArchive = store.ReadBool(Export, WebArchiveKey, false);

    settings.ArchiveDir = CutTo(
        settings.UseChosenDirectory ? settings.ExportDirectoryName : settings.DefaultDirectory,
        ValueLimit);
    const EmphasisTags active = PresetTags(settings.Emphasis, settings.CustomTags);
    settings.ActiveTags = {CutTo(active.Open, ValueLimit), CutTo(active.Close, ValueLimit)};
    return settings;
}

Status StoreProgramSettings(SettingsStore& store, const ProgramSettings& settings,
                            Edition edition) {
    const Status written[] = {
        edition == Edition::Nav ? store.WriteString(Browser, "FAT Path", settings.FatPath)
                                : store.WriteString(Browser, IeCacheKey, settings.IeCache),
        store.WriteString(Export, "Default directory", settings.DefaultDirectory),
        store.WriteBool(Export, "Show original URLS", settings.ShowOriginalUrls),
        store.WriteBool(Export, "Emphasize links", settings.EmphasizeLinks),
        store.WriteBool(Export, "Strikeout links", settings.StrikeoutLinks),
        store.WriteString(Export, "EmphasizeTag", settings.CustomTags.Open),
        store.WriteString(Export, "DeEmphasizeTag", settings.CustomTags.Close),
        store.WriteInteger(Export, "Emphasize Type", static_cast<int>(settings.Emphasis)),
        store.WriteInteger(Export, "Export directory", settings.UseChosenDirectory ? 1 : 0),
        store.WriteString(Export, "export directory name", settings.ExportDirectoryName),
        store.WriteBool(Export, WebArchiveKey, settings.WriteWebArchive),
    };
    for (const Status& status : written) {
        if (!status.ok()) {
            return status;
        }
    }
    return Status::Ok();
}

}  // namespace arkivo
