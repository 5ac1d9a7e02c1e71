#include "core/SubstringMatcher.h"

#include <cstddef>

uint64_t SubstringMatcher::EdgeKey(int node, wchar_t ch)
{
    return (static_cast<uint64_t>(node) << 32) | static_cast<uint32_t>(ch);
}

int SubstringMatcher::Child(int node, wchar_t ch) const
{
    const auto it = edges_.find(EdgeKey(node, ch));
    return it == edges_.end() ? -1 : it->second;
}

int SubstringMatcher::Step(int node, wchar_t ch) const
{
    for (;;) {
        const int next = Child(node, ch);
        if (next >= 0)
            return next;
        if (node == 0)
            return 0;
        node = fail_[node];
    }
}

SubstringMatcher::SubstringMatcher(const std::vector<std::wstring_view>& patterns)
{
    fail_.push_back(0);
    reachesPattern_.push_back(false);
    std::vector<bool> endsPattern{false};

    patternNode_.reserve(patterns.size());
    for (std::wstring_view pattern : patterns) {
        if (pattern.empty()) {
            patternNode_.push_back(-1);
            continue;
        }
        int node = 0;
        for (wchar_t ch : pattern) {
            int next = Child(node, ch);
            if (next < 0) {
                next = static_cast<int>(fail_.size());
                edges_.emplace(EdgeKey(node, ch), next);
                fail_.push_back(0);
                reachesPattern_.push_back(false);
                endsPattern.push_back(false);
            }
            node = next;
        }
        endsPattern[node] = true;
        patternNode_.push_back(node);
    }

    // Children of each node, for the breadth-first walk that sets the fail links.
    std::vector<std::vector<std::pair<wchar_t, int>>> children(fail_.size());
    for (const auto& [key, child] : edges_)
        children[key >> 32].emplace_back(static_cast<wchar_t>(key & 0xffffffffu), child);

    bfsOrder_.reserve(fail_.size());
    bfsOrder_.push_back(0);
    for (std::size_t i = 0; i < bfsOrder_.size(); ++i) {
        const int node = bfsOrder_[i];
        reachesPattern_[node] = endsPattern[node] || (node != 0 && reachesPattern_[fail_[node]]);
        for (const auto& [ch, child] : children[node]) {
            fail_[child] = node == 0 ? 0 : Step(fail_[node], ch);
            bfsOrder_.push_back(child);
        }
    }
}

bool SubstringMatcher::OccursInAny(std::wstring_view text) const
{
    int node = 0;
    for (wchar_t ch : text) {
        node = Step(node, ch);
        if (reachesPattern_[node])
            return true;
    }
    return false;
}

std::vector<bool> SubstringMatcher::FindOccurring(std::wstring_view text) const
{
    std::vector<bool> visited(fail_.size(), false);
    int node = 0;
    for (wchar_t ch : text) {
        node = Step(node, ch);
        visited[node] = true;
    }
    // Every suffix of a visited node's string was seen too: push the marks down
    // the fail links, deepest nodes first.
    for (auto it = bfsOrder_.rbegin(); it != bfsOrder_.rend(); ++it)
        if (visited[*it] && *it != 0)
            visited[fail_[*it]] = true;

    std::vector<bool> occurring(patternNode_.size(), false);
    for (std::size_t i = 0; i < patternNode_.size(); ++i)
        occurring[i] = patternNode_[i] > 0 && visited[patternNode_[i]];
    return occurring;
}
