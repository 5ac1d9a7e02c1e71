#pragma once
// The sorted, duplicate-free set of stored names that a configuration list holds
// as separator-terminated text ("a;b;c;").

#include <set>
#include <string>

class DictList {
public:
    using Set = std::set<std::wstring>;
    using const_iterator = Set::const_iterator;

    explicit DictList(std::wstring separator = L";");

    void Parse(const std::wstring& text);      // replaces the contents
    void AddTokens(const std::wstring& text);  // adds to the contents
    std::wstring Join() const;                 // every element followed by the separator

    bool Contains(const std::wstring& name) const;
    bool Insert(const std::wstring& name);  // false when already present
    bool Remove(const std::wstring& name);  // false when absent
    // Removes the element at `it` and returns the next one, for removal while iterating.
    const_iterator Erase(const_iterator it);

    const_iterator begin() const { return names_.begin(); }
    const_iterator end() const { return names_.end(); }
    bool empty() const { return names_.empty(); }
    std::size_t size() const { return names_.size(); }
    bool operator==(const DictList& other) const { return names_ == other.names_; }

private:
    Set names_;
    std::wstring separator_;
};
