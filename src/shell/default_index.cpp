#include "shell/default_index.h"

#include "platform/path.h"
#include "platform/user_files.h"

namespace arkivo {

std::string DefaultIndexPath(const SettingsStore& store) {
    const std::string directory =
        store.ReadString("Export to disk properties", "Default directory", DefaultArchiveDir());
    return JoinPath(directory, "1st_page.htm");
}

}  // namespace arkivo
