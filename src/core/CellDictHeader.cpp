#include "core/CellDictHeader.h"

#include "core/Utf8.h"

#include <cwchar>
#include <vector>

namespace {

uint16_t UnitAt(const uint8_t* bytes, std::size_t index)
{
    return static_cast<uint16_t>(bytes[2 * index] | (bytes[2 * index + 1] << 8));
}

const uint8_t* HeaderBytes(const CellDictHeader& header) { return reinterpret_cast<const uint8_t*>(&header); }

// A text slot's units up to the first NUL, running on past the slot but never
// past the header, then cut to the slot's length field.
std::wstring ReadHeaderText(const CellDictHeader& header, std::size_t slotOffset, uint32_t lengthCap)
{
    const uint8_t* slot = HeaderBytes(header) + slotOffset;
    std::size_t reach = (kCellDictHeaderSize - slotOffset) / 2;
    std::size_t units = 0;
    while (units < reach && units < lengthCap && UnitAt(slot, units) != 0)
        ++units;
    return WideFromUtf16Le(slot, units);
}

}  // namespace

std::wstring WideFromUtf16Le(const uint8_t* bytes, std::size_t count)
{
    std::wstring text;
    AssignWideFromUtf16Le(text, bytes, count);
    return text;
}

void AssignWideFromUtf16Le(std::wstring& text, const uint8_t* bytes, std::size_t count)
{
    text.clear();
    if (count > text.capacity())
        text.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        uint16_t unit = UnitAt(bytes, i);
        if constexpr (sizeof(wchar_t) == 2) {
            text += static_cast<wchar_t>(unit);
        } else {
            if (i + 1 < count) {
                if (const char32_t pair = DecodeSurrogatePair(unit, UnitAt(bytes, i + 1))) {
                    text += static_cast<wchar_t>(pair);
                    ++i;
                    continue;
                }
            }
            text += static_cast<wchar_t>(unit);
        }
    }
}

std::wstring CellDictHeader::GetName() const
{
    return ReadHeaderText(*this, offsetof(CellDictHeader, name), nameLength);
}

std::wstring CellDictHeader::GetDescription() const
{
    return ReadHeaderText(*this, offsetof(CellDictHeader, description), descriptionLength);
}

std::wstring CellDictHeader::GetCategory() const
{
    std::wstring text = ReadHeaderText(*this, offsetof(CellDictHeader, category), categoryLength);
    std::wstring first = text.substr(0, text.find(L','));
    return first.empty() ? std::wstring(L"其他") : first;
}

uint32_t CellDictHeader::GetEntryCount() const { return section1Count + section2Count + section3Count; }

std::wstring CellDictHeader::FormatEntryCount(const wchar_t* format) const
{
    const int count = static_cast<int>(GetEntryCount());
    // swprintf reports a buffer that is too small only by failing: grow and retry.
    for (std::size_t size = 64; size <= (std::size_t{1} << 20); size *= 2) {
        std::vector<wchar_t> buffer(size);
        int written = std::swprintf(buffer.data(), size, format, count);
        if (written >= 0 && static_cast<std::size_t>(written) < size)
            return std::wstring(buffer.data(), static_cast<std::size_t>(written));
    }
    return std::wstring();
}

bool CellDictHeader::HasValidMagic() const { return magic[0] == kCellDictMagic0 && magic[1] == kCellDictMagic1; }

bool IsNewerVersion(const CellDictHeader& a, const CellDictHeader& b)
{
    for (int i = 0; i < 3; ++i) {
        if (a.version[i] != b.version[i])
            return static_cast<int32_t>(a.version[i] - b.version[i]) > 0;
    }
    return false;
}
