#include "TextCodec.h"

#include <cstdint>

namespace pvdict {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

template <typename String>
void AppendUtf16(String& out, char32_t c)
{
    using Unit = typename String::value_type;
    if (c < 0x10000) {
        out += static_cast<Unit>(c);
    } else {
        c -= 0x10000;
        out += static_cast<Unit>(0xD800 | (c >> 10));
        out += static_cast<Unit>(0xDC00 | (c & 0x3FF));
    }
}

void AppendWide(std::wstring& out, char32_t c)
{
    if constexpr (sizeof(wchar_t) == 2)
        AppendUtf16(out, c);
    else
        out += static_cast<wchar_t>(c);
}

}  // namespace

std::optional<std::wstring> Utf8ToWide(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<uint8_t>(text[i]);
        int extra;
        char32_t c;
        char32_t minimum;
        if (lead < 0x80) {
            extra = 0, c = lead, minimum = 0;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, c = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, c = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, c = lead & 0x07, minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (text.size() - i - 1 < static_cast<std::size_t>(extra))
            return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < minimum || c > 0x10FFFF || IsSurrogate(c))
            return std::nullopt;
        AppendWide(out, c);
        i += extra + 1;
    }
    return out;
}

std::u16string WideToUtf16(std::wstring_view text)
{
    if constexpr (sizeof(wchar_t) == 2) {
        // Already UTF-16 units; they are kept as they are, lone surrogates too.
        return std::u16string(text.begin(), text.end());
    } else {
        std::u16string out;
        out.reserve(text.size());
        for (wchar_t unit : text) {
            auto c = static_cast<char32_t>(unit);
            AppendUtf16(out, c > 0x10FFFF ? kReplacement : c);
        }
        return out;
    }
}

std::filesystem::path Utf8ToPath(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string PathToUtf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace pvdict
