// DictList on arbitrary text: byte 0 picks the separator; the rest is text, cut
// at NULs into the text to parse and the texts to add.

#include "core/DictList.h"
#include "FuzzInput.h"

#include <algorithm>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // In the first three no proper prefix is also a suffix, so that a separator
    // never straddles an element and the one after it: Join and Parse undo each other.
    static const wchar_t* const kSeparators[] = {L";", L"\r\n", L";|", L"||", L"|;|"};
    if (size == 0)
        return 0;
    const std::wstring separator = kSeparators[data[0] % 5];
    const std::vector<std::wstring> texts = FuzzTexts(data + 1, size - 1);
    DictList list(separator), reparsed(separator);
    list.Parse(texts[0]);
    std::wstring joined;
    for (const auto& name : list) {
        FUZZ_CHECK(!name.empty() && name.find(separator) == std::wstring::npos &&
                   texts[0].find(name) != std::wstring::npos);
        joined += name + separator;
    }
    reparsed.Parse(joined);
    FUZZ_CHECK(list.Join() == joined && (data[0] % 5 >= 3 || reparsed.Join() == joined));

    // Adding texts unites the lists, and what is added is there to remove.
    std::set<std::wstring> united(list.begin(), list.end());
    for (std::size_t i = 1; i < texts.size(); ++i) {
        DictList other(separator);
        other.Parse(texts[i]);
        list.AddTokens(texts[i]);
        united.insert(other.begin(), other.end());
    }
    FUZZ_CHECK(std::equal(list.begin(), list.end(), united.begin(), united.end()));
    for (const auto& name : united)
        FUZZ_CHECK(!list.Insert(name) && list.Remove(name) && !list.Contains(name));
    FUZZ_CHECK(list.empty());
    return 0;
}
