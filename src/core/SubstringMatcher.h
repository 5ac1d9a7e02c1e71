#pragma once
// Finds which of many patterns occur as substrings of a text in one pass over the
// text (Aho-Corasick), so that "does any name contain any positional" and "which
// ordered names occur in the installed text" cost time linear in the input instead
// of patterns x texts.

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

class SubstringMatcher {
public:
    // Empty patterns are ignored: they never count as occurring.
    explicit SubstringMatcher(const std::vector<std::wstring_view>& patterns);

    // True when at least one pattern occurs in text.
    bool OccursInAny(std::wstring_view text) const;
    // For each pattern, in construction order: does it occur in text?
    std::vector<bool> FindOccurring(std::wstring_view text) const;

private:
    int Child(int node, wchar_t ch) const;
    int Step(int node, wchar_t ch) const;
    static uint64_t EdgeKey(int node, wchar_t ch);

    std::unordered_map<uint64_t, int> edges_;
    std::vector<int> fail_;
    std::vector<bool> reachesPattern_;  // a pattern ends here or on the fail chain
    std::vector<int> bfsOrder_;
    std::vector<int> patternNode_;  // -1 for an empty pattern
};
