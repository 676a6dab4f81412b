#pragma once
// The program-wide values the settings give, valid from start-up on: the archive
// directory in force, the active emphasis tags and the chosen cache. The Properties
// dialog sets them when it loads or stores the settings and as the user edits (see
// prefs_rules.h); archive runs, the Cache Explorer and the main window read them.
// The link options are not here: the Properties dialog's check boxes hold them.

#include <string>

namespace arkivo {

struct ProgramValues {
    std::string ArchiveDir;
    std::string ActiveEmphasizeTag = "B";
    std::string ActiveDeEmphasizeTag = "/B";
    // The cache chosen in the Properties: ArkivoNav's index file, ArkivoIE's cache
    // folder or index (empty: none chosen).
    std::string CacheIndexPath;
};

ProgramValues& TheProgramValues();

// Each value is a text of at most 255 characters; longer ones are cut.
std::string ProgramValueText(std::string text);

}  // namespace arkivo
