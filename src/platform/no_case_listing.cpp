#include "platform/no_case_listing.h"

namespace arkivo {
namespace {

// The name with A to Z turned into a to z, as file names are compared here.
std::string Folded(std::string name) {
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    return name;
}

}  // namespace

NoCaseListing::NoCaseListing(const std::string& dir) {
    DIR* handle = ::opendir(dir.empty() ? "." : dir.c_str());
    if (handle == nullptr) {
        return;
    }
    readable_ = true;
    while (const dirent* entry = ::readdir(handle)) {
        Entry found{entry->d_name, entry->d_type};
        std::string key = Folded(found.Name);
        if (!folded_.contains(key)) {
            folded_.emplace(std::move(key), std::move(found));
        } else {
            shadowed_.emplace(found.Name, std::move(found));
        }
    }
    ::closedir(handle);
}

const NoCaseListing::Entry* NoCaseListing::Find(const std::string& name) const {
    const auto folded = folded_.find(Folded(name));
    if (folded != folded_.end() && folded->second.Name == name) {
        return &folded->second;
    }
    if (const auto exact = shadowed_.find(name); exact != shadowed_.end()) {
        return &exact->second;
    }
    return folded != folded_.end() ? &folded->second : nullptr;
}

}  // namespace arkivo
