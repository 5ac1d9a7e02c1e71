// Command-line splitting and option parsing on arbitrary text: the splitter never
// fails, arguments quoted by the Windows rules split back to themselves, and the
// parser accounts for every argument as an option, a value or a positional.
// NUL separates the arguments of the round trip.

#include "app/CommandLineSplitter.h"
#include "app/SimpleOptParser.h"
#include "support/ArgumentQuoting.h"
#include "FuzzInput.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::wstring>;

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

void CheckSplit(const std::wstring& text)
{
    const std::wstring visible = text.substr(0, text.find(L'\0'));
    const Args args = SplitCommandLinePortable(text);
    FUZZ_CHECK(!args.empty());

    // Quoting rules only ever drop characters: every character comes from the text.
    const std::set<wchar_t> used(visible.begin(), visible.end());
    std::size_t total = 0;
    for (const auto& arg : args) {
        total += arg.size();
        for (wchar_t c : arg)
            FUZZ_CHECK(used.count(c) != 0);
    }
    FUZZ_CHECK(total <= visible.size());

    // Without quotes, blanks alone separate: the arguments are the blank-free runs.
    if (visible.find(L'"') == std::wstring::npos) {
        for (std::size_t i = 0; i < args.size(); ++i) {
            FUZZ_CHECK(std::none_of(args[i].begin(), args[i].end(), IsBlank));
            FUZZ_CHECK(i == 0 || !args[i].empty());
        }
    }
}

// The program name cannot hold a quote; it is quoted whole when it is empty or has blanks.
std::wstring QuoteProgramName(const std::wstring& name)
{
    if (!name.empty() && std::none_of(name.begin(), name.end(), IsBlank))
        return name;
    return L"\"" + name + L"\"";
}

void CheckRoundTrip(const std::wstring& text)
{
    Args args;
    std::size_t start = 0;
    for (std::size_t stop; (stop = text.find(L'\0', start)) != std::wstring::npos; start = stop + 1)
        args.push_back(text.substr(start, stop - start));
    args.push_back(text.substr(start));
    std::erase(args[0], L'"');

    std::wstring line = QuoteProgramName(args[0]);
    for (std::size_t i = 1; i < args.size(); ++i)
        line += L' ' + QuoteArgument(args[i]);
    FUZZ_CHECK(SplitCommandLinePortable(line) == args);
}

// Walks the arguments the other way round: an argument is a value exactly when the
// argument before it names a text option and is not a value itself.
void CheckParser(const std::wstring& specification, const std::wstring& text)
{
    SimpleOptParser parser(specification);
    for (const auto& [name, option] : parser.options) {
        FUZZ_CHECK(!name.empty());
        FUZZ_CHECK(std::none_of(name.begin(), name.end(), [](wchar_t c) { return std::iswspace(c); }));
        FUZZ_CHECK(option->needsValue <= 1);
        FUZZ_CHECK(specification.find(name) != std::wstring::npos);
    }

    Args args;
    if (!text.empty())
        FUZZ_CHECK(SplitCommandLine(text, args));
    const bool ok = parser.Parse(text);

    auto needsValue = [&](const std::wstring& arg) {
        auto it = parser.options.find(arg);
        return it != parser.options.end() && it->second->needsValue != 0;
    };
    Args positionals;
    std::set<std::wstring> seen;
    std::map<std::wstring, std::wstring> values;
    std::size_t names = 0, valueArgs = 0;
    bool expectOk = true;
    bool previousWasName = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        bool isValue = i > 0 && previousWasName && needsValue(args[i - 1]);
        previousWasName = !isValue && parser.options.count(args[i]) != 0;
        if (isValue) {
            ++valueArgs;
            values[args[i - 1]] = args[i];
        } else if (previousWasName) {
            ++names;
            if (needsValue(args[i]) && i + 1 == args.size())
                expectOk = false;
            else
                seen.insert(args[i]);
        } else {
            positionals.push_back(args[i]);
        }
    }
    FUZZ_CHECK(names + valueArgs + positionals.size() == args.size());
    FUZZ_CHECK(ok == expectOk);
    FUZZ_CHECK(parser.positionals == positionals);
    for (const auto& [name, option] : parser.options) {
        FUZZ_CHECK(parser.options.IsSet(name) == (seen.count(name) != 0));
        if (option->needsValue != 0) {
            auto it = values.find(name);
            FUZZ_CHECK(parser.options.GetValue(name) == (it == values.end() ? L"" : it->second));
        }
    }

}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring text = DecodeFuzzText(data, size);
    CheckSplit(text);
    CheckRoundTrip(text);
    CheckParser(kLexinstOptionSpec, text);
    // The text as its own specification: its arguments often name its options.
    CheckParser(text, text);
    return 0;
}
