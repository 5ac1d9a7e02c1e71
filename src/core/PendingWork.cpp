#include "core/PendingWork.h"

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
