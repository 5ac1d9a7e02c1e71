#pragma once
// Word lists for `pvdict make`: UTF-8 text, one word per line.

#include <string>
#include <string_view>
#include <vector>

namespace pvdict {

// Splits `text` into words: lines end with LF or CRLF, a leading UTF-8 BOM is
// skipped, blanks (space, tab) around a word are dropped and lines left empty
// are skipped. False, with the line number in `error`, for a line that is not
// valid UTF-8 or holds a NUL character.
bool ParseWordList(std::string_view text, std::vector<std::wstring>& words, std::string& error);

}  // namespace pvdict
