#include "core/CellDictInfo.h"

std::wstring CellDictInfo::GetSampleText() const
{
    if (samples.empty())
        return L"<无>";
    std::wstring text;
    for (const std::wstring& sample : samples) {
        text += sample;
        text += L' ';
    }
    text += L"...";
    return text;
}
