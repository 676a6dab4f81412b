#pragma once
// The program-wide values that come from the settings store: the archive
// directory, the link options and emphasis tags of rewritten pages and, in
// ArkivoNav, the cache index path. LoadProgramSettings reads them as the
// Properties dialog loads its controls; StoreProgramSettings writes them back as
// its OK button does (and as ArkivoIE does after every completed archive run).
//
// Keys, all in "Export to disk properties" except "FAT Path" and "IE cache folder"
// ("Browser options"):
// "Default directory", "Show original URLS", "Emphasize links", "Strikeout links",
// "EmphasizeTag", "DeEmphasizeTag", "Emphasize Type" (0 bold face, 1 italicized,
// 2 larger text, 3 custom), "Export directory" (0 the default directory, 1 the
// chosen one), "export directory name" and "Write web archive" (1: every run also
// writes a WARC of the items it archived).

#include <string>

#include "model/edition.h"
#include "platform/status.h"
#include "rewriter/link_options.h"
#include "shell/settings_store.h"

namespace arkivo {

enum class EmphasisPreset { Bold = 0, Italic = 1, Larger = 2, Custom = 3 };

struct EmphasisTags {
    std::string Open;   // tag text without angle brackets, "B"
    std::string Close;  // "/B"
};

// The tags a preset puts around links; Custom uses the stored pair.
EmphasisTags PresetTags(EmphasisPreset preset, const EmphasisTags& custom);

struct ProgramSettings {
    // The values as the Properties dialog shows them.
    std::string FatPath;  // ArkivoNav only
    std::string IeCache;  // ArkivoIE only: a Content.IE5 folder or its index.dat; empty: none
    std::string DefaultDirectory;
    bool ShowOriginalUrls = true;
    bool EmphasizeLinks = false;
    bool StrikeoutLinks = true;
    EmphasisTags CustomTags;
    EmphasisPreset Emphasis = EmphasisPreset::Bold;
    bool UseChosenDirectory = false;
    std::string ExportDirectoryName;
    bool WriteWebArchive = false;

    // Derived: the current archive directory and the active emphasis tags (each at
    // most 255 characters).
    std::string ArchiveDir;
    EmphasisTags ActiveTags;

    // The options the link rewriter reads.
    LinkOptions Links() const;
};

// Reads every setting with its default. In ArkivoNav "FAT Path" defaults to the
// index that FindCacheIndex finds.
ProgramSettings LoadProgramSettings(const SettingsStore& store, Edition edition);

// The cache folder chosen in ArkivoIE's Properties; empty when none was chosen.
std::string StoredIeCache(const SettingsStore& store);

// Writes every setting ("FAT Path" only in ArkivoNav, "IE cache folder" only in
// ArkivoIE); the first failure is returned.
Status StoreProgramSettings(SettingsStore& store, const ProgramSettings& settings, Edition edition);

}  // namespace arkivo
