#pragma once
// Path rules of the directory picker: how its Selection is kept, how a path is
// handed to the dialog to preselect, and which status texts are existing
// directories (fitted as paths) rather than plain text.

#include <string>

namespace arkivo {

// A Selection as the picker keeps it: not empty means ending in a separator.
std::string SelectionValue(std::string path);

// The path the dialog is asked to select: empty stays empty, the root stays "/",
// any other path loses one trailing separator.
std::string NormalizeForSelection(std::string path);

// True when the path, less one trailing separator, names an existing directory.
bool IsExistingDirectory(const std::string& path);

}  // namespace arkivo
