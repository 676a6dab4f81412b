#pragma once
// The index page of the default archive directory, as the main window's "Display
// default index" finds it: the stored "Default directory" (DefaultArchiveDir() when
// none is stored), whatever directory is in force, with "1st_page.htm" in it.

#include <string>

#include "shell/settings_store.h"

namespace arkivo {

inline constexpr const char* NoDefaultIndexText =
    "No default index exists.\r\n\r\nUse the Cache Explorer\r\nto create one.";

// The stored default directory joined with "1st_page.htm"; a separator is put
// between them when the stored text does not end in one.
std::string DefaultIndexPath(const SettingsStore& store);

}  // namespace arkivo
