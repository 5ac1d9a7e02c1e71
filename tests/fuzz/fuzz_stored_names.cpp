// Stored-name comparison: against a simple reference, antisymmetric,
// transitive, and the identity test an equivalence.

#include "dict/StoredName.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "mismatch: %s\n", what);
        std::abort();
    }
}

int Sign(long long value)
{
    return (value > 0) - (value < 0);
}

// Bytes become characters that matter to names; 0xFF separates the names.
std::vector<std::wstring> NamesFrom(const uint8_t* data, size_t size)
{
    static const wchar_t alphabet[] = L"0123456789_._.-+ \tpvdictPx9";
    std::vector<std::wstring> names(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF)
            names.emplace_back();
        else if (data[i] == 0xFE)
            names.back() += L"pvdict";
        else
            names.back() += alphabet[data[i] % (std::size(alphabet) - 1)];
    }
    return names;
}

std::vector<std::wstring> ReferenceTokens(const std::wstring& name)
{
    std::vector<std::wstring> tokens;
    if (name.empty())
        return tokens;
    std::wstring current;
    for (wchar_t c : name) {
        if (c == L'_' || c == L'.') {
            tokens.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    tokens.push_back(current);
    if (tokens.back() == L"pvdict")
        tokens.pop_back();
    return tokens;
}

long long ReferenceValue(const std::wstring& token)
{
    long long value = std::wcstoll(token.c_str(), nullptr, 10);
    return std::clamp<long long>(value, INT_MIN, INT_MAX);
}

long long ReferenceCompare(const std::wstring& a, const std::wstring& b)
{
    std::vector<std::wstring> ta = ReferenceTokens(a), tb = ReferenceTokens(b);
    for (size_t i = 0; i < std::min(ta.size(), tb.size()); ++i) {
        long long va = ReferenceValue(ta[i]), vb = ReferenceValue(tb[i]);
        if (va != vb)
            return std::clamp<long long>(va - vb, INT_MIN, INT_MAX);
    }
    return static_cast<long long>(ta.size()) - static_cast<long long>(tb.size());
}

std::wstring ReferenceIdentity(const std::wstring& name)
{
    std::wstring identity;
    for (wchar_t c : name) {
        if (c == L'_' || c == L'.')
            break;
        identity += c;
    }
    return identity;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::wstring> names = NamesFrom(data, size);
    while (names.size() < 3)
        names.push_back(names.front());
    const std::wstring& a = names[0];
    const std::wstring& b = names[1];
    const std::wstring& c = names[2];

    int ab = CompareStoredVersions(a, b);
    Check(ab == ReferenceCompare(a, b), "comparison against the reference");
    Check(Sign(ab) == -Sign(CompareStoredVersions(b, a)), "antisymmetry");
    Check(CompareStoredVersions(a, a) == 0, "a name equals itself");
    int bc = CompareStoredVersions(b, c);
    int ac = CompareStoredVersions(a, c);
    if (Sign(ab) >= 0 && Sign(bc) >= 0)
        Check(Sign(ac) >= 0 && (Sign(ac) > 0 || (ab == 0 && bc == 0)), "transitivity");

    bool same = IsSameDictionary(a, b);
    Check(same == (ReferenceIdentity(a) == ReferenceIdentity(b)), "identity against the reference");
    Check(same == IsSameDictionary(b, a), "identity symmetry");
    if (same && IsSameDictionary(b, c))
        Check(IsSameDictionary(a, c), "identity transitivity");
    return 0;
}
