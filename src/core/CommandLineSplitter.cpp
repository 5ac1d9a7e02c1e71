#include "core/CommandLineSplitter.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The first argument follows the program-name rules: a leading quote runs to the
// next quote with no backslash processing, otherwise it ends at the first blank.
// Leading blanks therefore give an empty first argument.
std::size_t ReadProgramName(const std::wstring& text, std::size_t pos, std::wstring& arg)
{
    if (pos < text.size() && text[pos] == L'"') {
        std::size_t close = text.find(L'"', pos + 1);
        std::size_t stop = close == std::wstring::npos ? text.size() : close;
        arg.assign(text, pos + 1, stop - pos - 1);
        return close == std::wstring::npos ? stop : close + 1;
    }
    std::size_t stop = pos;
    while (stop < text.size() && !IsBlank(text[stop]))
        ++stop;
    arg.assign(text, pos, stop - pos);
    return stop;
}

// One argument by the argument rules, starting at a non-blank character.
// 2n backslashes before a quote give n backslashes and the quote toggles quoting;
// 2n+1 give n backslashes and a literal quote. Inside quotes, a doubled quote gives
// a literal quote and ends the quoted part. Other backslashes are literal.
std::size_t ReadArgument(const std::wstring& text, std::size_t pos, std::wstring& arg)
{
    int quotes = 0;  // 0 outside quotes, 1 inside
    std::size_t backslashes = 0;
    while (pos < text.size() && !(IsBlank(text[pos]) && quotes == 0)) {
        wchar_t c = text[pos++];
        if (c == L'\\') {
            arg += c;
            ++backslashes;
            continue;
        }
        if (c != L'"') {
            arg += c;
            backslashes = 0;
            continue;
        }
        arg.resize(arg.size() - backslashes / 2);
        if (backslashes % 2 == 1) {
            arg.back() = L'"';
        } else {
            ++quotes;
        }
        backslashes = 0;
        // A run of quotes: every third one (counting the state) is a literal quote.
        while (pos < text.size() && text[pos] == L'"') {
            if (++quotes == 3) {
                arg += L'"';
                quotes = 0;
            }
            ++pos;
        }
        if (quotes == 2)
            quotes = 0;
    }
    return pos;
}

std::size_t SkipBlanks(const std::wstring& text, std::size_t pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

}  // namespace

std::vector<std::wstring> SplitCommandLinePortable(const std::wstring& commandLine)
{
    // The system splitter reads a C string: the text ends at the first NUL.
    const std::wstring text = commandLine.substr(0, commandLine.find(L'\0'));

    std::vector<std::wstring> args(1);
    std::size_t pos = SkipBlanks(text, ReadProgramName(text, 0, args[0]));
    while (pos < text.size()) {
        pos = SkipBlanks(text, ReadArgument(text, pos, args.emplace_back()));
    }
    return args;
}

bool SplitCommandLine(const std::wstring& commandLine, std::vector<std::wstring>& args)
{
    args = SplitCommandLinePortable(commandLine);
    return true;
}
