#include "core/PendingWork.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr const wchar_t* kHeader = L"lexinst pending work 1";
constexpr const wchar_t* kEnd = L"end";

// The entries' kinds, by the letter that opens each entry.
struct EntryKind {
    wchar_t letter;
    DictList PendingWork::*names;
};
constexpr EntryKind kKinds[] = {
    {L'i', &PendingWork::addInstalled},
    {L'a', &PendingWork::addActive},
    {L'u', &PendingWork::unlist},
    {L'd', &PendingWork::deleteFiles},
};

void AppendEntry(std::wstring& text, const std::wstring& entry)
{
    text += entry;
    text += L'\0';
}

// Inserts into `names` the elements of `from` that `without` lacks.
void InsertMissing(DictList& names, const DictList& from, const DictList& without)
{
    for (const std::wstring& name : from) {
        if (!without.Contains(name))
            names.Insert(name);
    }
}

wchar_t FoldAscii(wchar_t ch) { return ch >= L'A' && ch <= L'Z' ? ch + (L'a' - L'A') : ch; }

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

// A bare file name that a stored file can have: no folder part, and none of the record's own names.
bool IsStoredFileName(std::wstring_view name)
{
    if (name.empty() || name == L"." || name == L".." || name.find_first_of(L"\\/:") != std::wstring_view::npos)
        return false;
    for (const wchar_t* own : {kPendingRecordName, kPendingStagingName, kPendingAsideName}) {
        if (EqualsIgnoringAsciiCase(name, own))
            return false;
    }
    return true;
}

// "tmp" with one to four hex digits and ".tmp", as the system names the temporary files.
bool IsTempFileName(std::wstring_view name)
{
    const std::size_t digits = name.size() < 7 ? 0 : name.size() - 7;
    if (digits < 1 || digits > 4 || !EqualsIgnoringAsciiCase(name.substr(0, 3), L"tmp") ||
        !EqualsIgnoringAsciiCase(name.substr(3 + digits), L".tmp"))
        return false;
    return std::all_of(name.begin() + 3, name.begin() + 3 + static_cast<std::ptrdiff_t>(digits), [](wchar_t ch) {
        const wchar_t folded = FoldAscii(ch);
        return (folded >= L'0' && folded <= L'9') || (folded >= L'a' && folded <= L'f');
    });
}

// The file name of `path` when the path lies directly in `folder`, else "".
std::wstring_view NameIn(std::wstring_view folder, std::wstring_view path)
{
    if (path.size() <= folder.size() || !EqualsIgnoringAsciiCase(path.substr(0, folder.size()), folder))
        return {};
    return path.substr(folder.size());
}

}  // namespace

PendingWork PendingWork::FromListChanges(const DictList& installedBefore, const DictList& installedAfter,
                                         const DictList& activeBefore, const DictList& activeAfter)
{
    // A name that leaves either list can leave both: removals and replacements
    // take a name out of both, and a name that leaves one is not in the other.
    PendingWork work;
    InsertMissing(work.addInstalled, installedAfter, installedBefore);
    InsertMissing(work.addActive, activeAfter, activeBefore);
    InsertMissing(work.unlist, installedBefore, installedAfter);
    InsertMissing(work.unlist, activeBefore, activeAfter);
    return work;
}

bool PendingWork::ApplyToLists(DictList& installed, DictList& active) const
{
    bool changed = false;
    for (const std::wstring& name : unlist) {
        changed |= installed.Remove(name);
        changed |= active.Remove(name);
    }
    for (const std::wstring& name : addInstalled)
        changed |= installed.Insert(name);
    for (const std::wstring& name : addActive)
        changed |= active.Insert(name);
    return changed;
}

bool PendingWork::Empty() const
{
    return addInstalled.empty() && addActive.empty() && unlist.empty() && deleteFiles.empty() && tmpFile.empty();
}

std::size_t PendingWork::Confine(const std::wstring& dictFolder, const std::wstring& dataFolder,
                                 const std::function<bool(const std::wstring&)>& fileExists)
{
    std::size_t dropped = 0;
    const auto keepIf = [&](DictList& entries, const auto& allowed) {
        for (auto it = entries.begin(); it != entries.end();) {
            const bool keep = allowed(*it);
            dropped += keep ? 0 : 1;
            it = keep ? std::next(it) : entries.Erase(it);
        }
    };
    keepIf(deleteFiles, [&](const std::wstring& path) { return IsStoredFileName(NameIn(dictFolder, path)); });
    const auto listable = [&](const std::wstring& name) {
        return IsStoredFileName(name) && fileExists(dictFolder + name);
    };
    keepIf(addInstalled, listable);
    keepIf(addActive, listable);
    if (!tmpFile.empty() && !IsTempFileName(NameIn(dictFolder, tmpFile)) &&
        !IsTempFileName(NameIn(dataFolder, tmpFile))) {
        tmpFile.clear();
        ++dropped;
    }
    return dropped;
}

std::wstring PendingWork::Format() const
{
    std::wstring text;
    AppendEntry(text, kHeader);
    for (const EntryKind& kind : kKinds) {
        for (const std::wstring& name : this->*kind.names)
            AppendEntry(text, kind.letter + (L':' + name));
    }
    if (!tmpFile.empty())
        AppendEntry(text, L"t:" + tmpFile);
    AppendEntry(text, kEnd);
    return text;
}

bool PendingWork::Parse(const std::wstring& text, PendingWork& work)
{
    work = PendingWork();
    std::size_t start = 0;
    const auto next = [&](std::wstring& entry) {
        const std::size_t end = text.find(L'\0', start);
        if (end == std::wstring::npos)
            return false;  // no terminator: the text is cut short
        entry.assign(text, start, end - start);
        start = end + 1;
        return true;
    };
    std::wstring entry;
    if (!next(entry) || entry != kHeader)
        return false;
    while (next(entry)) {
        if (entry == kEnd)
            return start == text.size();
        if (entry.size() < 3 || entry[1] != L':')
            return false;
        const std::wstring value = entry.substr(2);
        if (entry[0] == L't') {
            work.tmpFile = value;
            continue;
        }
        const EntryKind* kind = nullptr;
        for (const EntryKind& candidate : kKinds)
            kind = candidate.letter == entry[0] ? &candidate : kind;
        if (!kind)
            return false;
        (work.*kind->names).Insert(value);
    }
    return false;
}
