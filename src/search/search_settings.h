#pragma once
// The stored search directory: "Search directory" in "Search properties", offered
// when a search window opens and by `arkivo search` without DIR, and written after
// each started search. Until one is stored, the default archive directory
// ("Default directory" in "Export to disk properties") stands in for it.

#include <string>
#include <string_view>

#include "platform/status.h"
#include "shell/settings_store.h"

namespace arkivo {

inline constexpr std::string_view SearchSection = "Search properties";
inline constexpr std::string_view SearchDirectoryKey = "Search directory";

std::string StoredSearchDirectory(const SettingsStore& store);

Status StoreSearchDirectory(SettingsStore& store, std::string_view directoryText);

}  // namespace arkivo
