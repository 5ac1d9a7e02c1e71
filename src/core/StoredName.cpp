#include "core/StoredName.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::size_t kDriveUnits = 3;
constexpr std::size_t kDirUnits = 256;
constexpr std::size_t kNameUnits = 256;
constexpr std::size_t kExtUnits = 256;

// The file name and extension of `path`, split into drive, folder, name and
// extension with buffers of 3, 256, 256 and 256 units; empty when a part does
// not fit its buffer.
std::wstring FileNameWithExtension(const std::wstring& path)
{
#ifdef _WIN32
    wchar_t drive[kDriveUnits], dir[kDirUnits], name[kNameUnits], ext[kExtUnits];
    if (_wsplitpath_s(path.c_str(), drive, kDriveUnits, dir, kDirUnits, name, kNameUnits, ext, kExtUnits) != 0)
        return std::wstring();
    return std::wstring(name) + ext;
#else
    std::wstring rest = path.substr(0, path.find(L'\0'));
    std::size_t driveLength = rest.size() >= 2 && rest[1] == L':' ? 2 : 0;
    rest.erase(0, driveLength);
    std::size_t lastSlash = rest.find_last_of(L"\\/");
    std::size_t dirLength = lastSlash == std::wstring::npos ? 0 : lastSlash + 1;
    std::wstring file = rest.substr(dirLength);
    std::size_t dot = file.rfind(L'.');
    std::size_t nameLength = dot == std::wstring::npos ? file.size() : dot;
    if (driveLength >= kDriveUnits || dirLength >= kDirUnits || nameLength >= kNameUnits ||
        file.size() - nameLength >= kExtUnits)
        return std::wstring();
    return file;
#endif
}

std::vector<std::wstring> SplitTokens(const std::wstring& name)
{
    std::vector<std::wstring> tokens;
    if (name.empty())
        return tokens;
    std::size_t start = 0;
    for (;;) {
        std::size_t cut = name.find_first_of(L"_.", start);
        tokens.push_back(name.substr(start, cut - start));
        if (cut == std::wstring::npos)
            return tokens;
        start = cut + 1;
    }
}

bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

// As _wtoi reads a number: leading blanks, an optional sign, decimal digits;
// 0 without digits. Values beyond the 32-bit range clamp to INT32_MIN and
// INT32_MAX (as the C runtime's strtol family does) rather than wrap, so a huge
// number never reads as a small or negative one.
int32_t ParseLeadingInt(const std::wstring& token)
{
    std::size_t i = 0;
    while (i < token.size() && IsBlank(token[i]))
        ++i;
    bool negative = false;
    if (i < token.size() && (token[i] == L'+' || token[i] == L'-'))
        negative = token[i++] == L'-';
    int64_t magnitude = 0;
    for (; i < token.size() && token[i] >= L'0' && token[i] <= L'9'; ++i) {
        magnitude = magnitude * 10 + (token[i] - L'0');
        if (magnitude > int64_t{INT32_MAX} + 1)
            magnitude = int64_t{INT32_MAX} + 1;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        value = INT32_MAX;
    return static_cast<int32_t>(value);
}

// A difference of two values that may not fit 32 bits, keeping its sign.
int ClampedDifference(int64_t a, int64_t b)
{
    int64_t difference = a - b;
    if (difference > INT32_MAX)
        return INT32_MAX;
    if (difference < INT32_MIN)
        return INT32_MIN;
    return static_cast<int>(difference);
}

}  // namespace

std::wstring MakeStoredName(const std::wstring& srcPath, const CellDictHeader& header)
{
    if (header.dictId == 0)
        return FileNameWithExtension(srcPath);
    return std::to_wstring(header.dictId) + L'_' + std::to_wstring(header.version[0]) + L'_' +
           std::to_wstring(header.version[1]) + L'_' + std::to_wstring(header.version[2]) + L".pvdict";
}

std::wstring_view DictIdentity(std::wstring_view storedName)
{
    return storedName.substr(0, storedName.find_first_of(L"_."));
}

bool IsSameDictionary(const std::wstring& nameA, const std::wstring& nameB)
{
    return DictIdentity(nameA) == DictIdentity(nameB);
}

int CompareStoredVersions(const std::wstring& nameA, const std::wstring& nameB)
{
    std::vector<std::wstring> tokensA = SplitTokens(nameA);
    std::vector<std::wstring> tokensB = SplitTokens(nameB);
    for (auto* tokens : {&tokensA, &tokensB}) {
        if (!tokens->empty() && tokens->back() == L"pvdict")
            tokens->pop_back();
    }
    std::size_t common = std::min(tokensA.size(), tokensB.size());
    for (std::size_t i = 0; i < common; ++i) {
        int32_t a = ParseLeadingInt(tokensA[i]);
        int32_t b = ParseLeadingInt(tokensB[i]);
        if (a != b)
            return ClampedDifference(a, b);
    }
    return ClampedDifference(static_cast<int64_t>(tokensA.size()), static_cast<int64_t>(tokensB.size()));
}
