#include "explorer/domain_names.h"

#include <algorithm>

#include "model/url.h"

namespace arkivo {
namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

}  // namespace

bool DomainNameLess(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(Fold(a[i]));
        const auto y = static_cast<unsigned char>(Fold(b[i]));
        if (x != y) {
            return x < y;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

void DomainNameList::Assign(std::vector<std::string> names) {
    Clear();
    Add(names);
}

void DomainNameList::Clear() {
    names_.clear();
    folded_.clear();
}

void DomainNameList::Add(const std::vector<std::string>& names) {
    for (const auto& name : names) {
        if (folded_.insert(LowerCase(name)).second) {
            names_.push_back(name);
        }
    }
    Sort();
}

std::vector<std::string> DomainNameList::Remove(const std::vector<std::string>& names) {
    std::unordered_set<std::string> gone;
    for (const auto& name : names) {
        const std::string folded = LowerCase(name);
        if (folded_.erase(folded) > 0) {
            gone.insert(folded);
        }
    }
    std::vector<std::string> removed;
    if (gone.empty()) {
        return removed;
    }
    std::erase_if(names_, [&](const std::string& name) {
        if (gone.count(LowerCase(name)) == 0) {
            return false;
        }
        removed.push_back(name);
        return true;
    });
    return removed;
}

bool DomainNameList::Contains(std::string_view name) const {
    return folded_.count(LowerCase(name)) > 0;
}

void DomainNameList::Sort() {
    std::sort(names_.begin(), names_.end(), DomainNameLess);
}

}  // namespace arkivo
