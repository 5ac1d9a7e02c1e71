#include "WordList.h"

#include "TextCodec.h"

namespace pvdict {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view line)
{
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = line.find_last_not_of(" \t");
    return line.substr(first, last - first + 1);
}

}  // namespace

bool ParseWordList(std::string_view text, std::vector<std::wstring>& words, std::string& error)
{
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        line = TrimBlanks(line);
        if (line.empty())
            continue;
        if (line.find('\0') != std::string_view::npos) {
            error = "line " + std::to_string(lineNumber) + " holds a NUL character";
            return false;
        }
        auto word = Utf8ToWide(line);
        if (!word) {
            error = "line " + std::to_string(lineNumber) + " is not valid UTF-8";
            return false;
        }
        words.push_back(std::move(*word));
    }
    return true;
}

}  // namespace pvdict
