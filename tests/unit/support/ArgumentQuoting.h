#pragma once
// Quoting one argument so that the Windows command-line rules give it back unchanged.

#include <string>

// An argument without blanks or quotes stays as it is; otherwise it is quoted,
// with backslashes doubled where they precede a quote and every quote escaped.
std::wstring QuoteArgument(const std::wstring& arg);
