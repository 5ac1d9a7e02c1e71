// DictList on arbitrary text. The first byte picks the separator; the rest is the
// text (bytes below 0x80 as they are, a byte from 0x80 up takes the next two as
// one UTF-16 code unit), split at the first NUL into the parsed text and the text
// that is added with AddTokens.

#include "installer/DictList.h"
#include "FuzzInput.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::wstring>;

struct Separator {
    const wchar_t* text;
    // No proper prefix is also a suffix: an occurrence can then never straddle an
    // element and the separator after it, so Join and Parse undo each other.
    bool borderless;
};

const Separator kSeparators[] = {
    {L";", true}, {L"\r\n", true}, {L";|", true}, {L"||", false}, {L"|;|", false},
};

Strings Elements(const DictList& list)
{
    return Strings(list.begin(), list.end());
}

void CheckShape(const DictList& list, const std::wstring& source, const std::wstring& separator)
{
    const Strings elements = Elements(list);
    FUZZ_CHECK(std::adjacent_find(elements.begin(), elements.end(), std::greater_equal<>()) == elements.end());
    std::size_t length = 0;
    for (const auto& name : elements) {
        FUZZ_CHECK(!name.empty());
        FUZZ_CHECK(name.find(separator) == std::wstring::npos);
        FUZZ_CHECK(source.find(name) != std::wstring::npos);
        FUZZ_CHECK(list.Contains(name));
        length += name.size() + separator.size();
    }
    const std::wstring joined = list.Join();
    FUZZ_CHECK(joined.size() == length);
    FUZZ_CHECK(joined.empty() || joined.ends_with(separator));
}

void CheckEraseWhileIterating(DictList list)
{
    const Strings before = Elements(list);
    Strings visited, kept;
    for (auto it = list.begin(); it != list.end();) {
        visited.push_back(*it);
        if (it->size() % 2 == 1) {
            it = list.Erase(it);
        } else {
            kept.push_back(*it);
            ++it;
        }
    }
    FUZZ_CHECK(visited == before);
    FUZZ_CHECK(Elements(list) == kept);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const Separator& separator = kSeparators[data[0] % std::size(kSeparators)];
    const std::wstring text = DecodeFuzzText(data + 1, size - 1);
    const std::size_t nul = std::min(text.find(L'\0'), text.size());
    const std::wstring first = text.substr(0, nul);
    const std::wstring second = nul < text.size() ? text.substr(nul + 1) : std::wstring();

    DictList list(separator.text);
    list.Parse(first);
    CheckShape(list, first, separator.text);

    const std::wstring joined = list.Join();
    DictList reparsed(separator.text);
    reparsed.Parse(joined);
    CheckShape(reparsed, joined, separator.text);
    if (separator.borderless) {
        FUZZ_CHECK(Elements(reparsed) == Elements(list));
        FUZZ_CHECK(reparsed.Join() == joined);
    }

    DictList added = list;
    added.AddTokens(second);
    DictList other(separator.text);
    other.Parse(second);
    Strings united;
    std::set_union(list.begin(), list.end(), other.begin(), other.end(), std::back_inserter(united));
    FUZZ_CHECK(Elements(added) == united);
    if (separator.borderless) {
        DictList whole(separator.text);
        whole.Parse(first + separator.text + second);
        FUZZ_CHECK(Elements(whole) == united);
    }

    CheckEraseWhileIterating(added);

    for (const auto& name : Elements(other)) {
        FUZZ_CHECK(!added.Insert(name));
        FUZZ_CHECK(added.Remove(name));
        FUZZ_CHECK(!added.Contains(name));
        FUZZ_CHECK(!added.Remove(name));
    }
    return 0;
}
