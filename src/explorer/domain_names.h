#pragma once
// The contents of one of the Cache Explorer's two domain lists: names kept in
// alphabetical order without regard to letter case, looked up as whole names
// without regard to case. Lookups go through a hash set and bulk changes sort once,
// so tens of thousands of domains move between the lists without quadratic work.

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace arkivo {

// Case-insensitive ordering of the list boxes (ASCII letters folded, then bytes).
bool DomainNameLess(std::string_view a, std::string_view b);

class DomainNameList {
  public:
    // Replaces the contents (duplicates, letter case ignored, are kept once).
    void Assign(std::vector<std::string> names);
    void Clear();

    // Adds the names not yet present, keeping the order.
    void Add(const std::vector<std::string>& names);
    // Removes the names present (letter case ignored) and gives them as they were
    // spelled in the list.
    std::vector<std::string> Remove(const std::vector<std::string>& names);

    bool Contains(std::string_view name) const;
    const std::vector<std::string>& Names() const { return names_; }
    std::size_t Count() const { return names_.size(); }

  private:
    void Sort();

    std::vector<std::string> names_;
    std::unordered_set<std::string> folded_;  // lower-cased names
};

}  // namespace arkivo
