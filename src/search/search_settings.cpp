#include "search/search_settings.h"

#include "shell/program_settings.h"

namespace arkivo {

std::string StoredSearchDirectory(const SettingsStore& store) {
    // The default directory is read alike in both editions; IE's reading spares the
    // look for Navigator's cache that only the cache index path needs.
    const std::string defaultDirectory = LoadProgramSettings(store, Edition::IE).DefaultDirectory;
    return store.ReadString(SearchSection, SearchDirectoryKey, defaultDirectory);
}

Status StoreSearchDirectory(SettingsStore& store, std::string_view directoryText) {
    return store.WriteString(SearchSection, SearchDirectoryKey, directoryText);
}

}  // namespace arkivo
