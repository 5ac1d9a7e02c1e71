#include "core/DictList.h"

#include <utility>

DictList::DictList(std::wstring separator) : separator_(std::move(separator)) {}

void DictList::Parse(const std::wstring& text)
{
    names_.clear();
    AddTokens(text);
}

void DictList::AddTokens(const std::wstring& text)
{
    // An empty separator cannot split anything: the whole text is one piece.
    if (separator_.empty()) {
        if (!text.empty())
            names_.insert(text);
        return;
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t stop = text.find(separator_, start);
        if (stop == std::wstring::npos)
            stop = text.size();
        if (stop > start)
            names_.insert(text.substr(start, stop - start));
        start = stop + separator_.size();
    }
}

std::wstring DictList::Join() const
{
    std::wstring text;
    for (const auto& name : names_) {
        text += name;
        text += separator_;
    }
    return text;
}

bool DictList::Contains(const std::wstring& name) const { return names_.count(name) != 0; }

bool DictList::Insert(const std::wstring& name) { return names_.insert(name).second; }

bool DictList::Remove(const std::wstring& name) { return names_.erase(name) != 0; }

DictList::const_iterator DictList::Erase(const_iterator it) { return names_.erase(it); }
