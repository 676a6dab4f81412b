#include "shell/default_index.h"

#include "platform/path.h"
#include "platform/program_dir.h"

namespace arkivo {

std::string DefaultIndexPath(const SettingsStore& store) {
    const std::string directory =
        store.ReadString("Export to disk properties", "Default directory",
                         IncludeTrailingSeparator(ProgramDir() + "ARCHIVE"));
    return JoinPath(directory, "1st_page.htm");
}

}  // namespace arkivo
