#pragma once
// Quoting one argument so that the Windows command-line rules give it back unchanged.

#include <string>

// An argument without blanks or quotes stays as it is; otherwise it is quoted,
// with backslashes doubled where they precede a quote and every quote escaped.
inline std::wstring QuoteArgument(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
        return arg;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        quoted.append(c == L'"' ? backslashes + 1 : 0, L'\\') += c;
        backslashes = c == L'\\' ? backslashes + 1 : 0;
    }
    return quoted.append(backslashes, L'\\') + L"\"";
}
