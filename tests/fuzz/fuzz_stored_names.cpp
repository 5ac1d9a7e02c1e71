// Stored-name comparison on arbitrary names: antisymmetric and transitive, and
// the identity test an equivalence that matches the name's first token.

#include "dict/StoredName.h"
#include "FuzzInput.h"

#include <string>
#include <vector>

namespace {

int Sign(int value)
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

std::wstring FirstToken(const std::wstring& name)
{
    return name.substr(0, name.find_first_of(L"_."));
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

    const int ab = CompareStoredVersions(a, b);
    const int bc = CompareStoredVersions(b, c);
    const int ac = CompareStoredVersions(a, c);
    FUZZ_CHECK(Sign(ab) == -Sign(CompareStoredVersions(b, a)));
    FUZZ_CHECK(CompareStoredVersions(a, a) == 0);
    if (Sign(ab) >= 0 && Sign(bc) >= 0)
        FUZZ_CHECK(Sign(ac) >= 0 && (Sign(ac) > 0 || (ab == 0 && bc == 0)));

    const bool same = IsSameDictionary(a, b);
    FUZZ_CHECK(same == (FirstToken(a) == FirstToken(b)));
    FUZZ_CHECK(same == IsSameDictionary(b, a));
    if (same && IsSameDictionary(b, c))
        FUZZ_CHECK(IsSameDictionary(a, c));
    return 0;
}
