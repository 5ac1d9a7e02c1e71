// Stored-name comparison on arbitrary names: antisymmetric and transitive, and
// the identity test an equivalence that matches the text before the first "_" or ".".

#include "core/StoredName.h"
#include "FuzzInput.h"

#include <algorithm>

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::wstring> names = FuzzTexts(data, size);
    names.resize(3, names.front());
    const std::wstring &a = names[0], &b = names[1], &c = names[2];
    const int ab = Sign(CompareStoredVersions(a, b)), bc = Sign(CompareStoredVersions(b, c));
    FUZZ_CHECK(ab == -Sign(CompareStoredVersions(b, a)) && CompareStoredVersions(a, a) == 0);
    FUZZ_CHECK(ab < 0 || bc < 0 || Sign(CompareStoredVersions(a, c)) == std::max(ab, bc));
    const bool same = IsSameDictionary(a, b);
    FUZZ_CHECK(same == (a.substr(0, a.find_first_of(L"_.")) == b.substr(0, b.find_first_of(L"_."))));
    FUZZ_CHECK(same == IsSameDictionary(b, a) && (!same || IsSameDictionary(b, c) == IsSameDictionary(a, c)));
    return 0;
}
