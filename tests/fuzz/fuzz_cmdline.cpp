// Command-line splitting and option parsing on arbitrary text: the parser
// accounts for every argument as an option, a value or a positional, and
// arguments (the input's texts) quoted by the Windows rules split back to themselves.

#include "core/CommandLineSplitter.h"
#include "core/SimpleOptParser.h"
#include "support/ArgumentQuoting.h"
#include "FuzzInput.h"

#include <algorithm>
#include <map>

namespace {

// An option table like the program's: flags and value-taking names.
constexpr const wchar_t* kProgramLikeSpec =
    L"-reg -unreg -silent -accountdir -datadir -dest %s -deselect -sourcedir %s -removesource -delete";

// Walks the arguments the other way round: an argument is a value exactly when
// the one before it names a text option and is not a value itself.
void CheckParser(const std::wstring& specification, const std::wstring& text)
{
    SimpleOptParser parser(specification);
    const bool ok = parser.Parse(text);
    const std::vector<std::wstring> args = text.empty() ? std::vector<std::wstring>() : SplitCommandLinePortable(text);
    std::vector<std::wstring> positionals;
    std::map<std::wstring, std::wstring> set;  // option name to its last value
    bool expectOk = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto option = parser.options.find(args[i]);
        if (option == parser.options.end()) {
            positionals.push_back(args[i]);
        } else if (option->second->needsValue == 0) {
            set[args[i]];
        } else if (i + 1 < args.size()) {
            set[args[i]] = args[i + 1];
            ++i;
        } else {
            expectOk = false;
        }
    }
    FUZZ_CHECK(ok == expectOk && parser.positionals == positionals);
    for (const auto& [name, option] : parser.options) {
        FUZZ_CHECK(parser.options.IsSet(name) == set.contains(name));
        FUZZ_CHECK(!option->needsValue || !set.contains(name) || parser.options.GetValue(name) == set[name]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first text as a command line, against the program's options and
    // against itself as the option table.
    std::vector<std::wstring> args = FuzzTexts(data, size);
    CheckParser(kProgramLikeSpec, args[0]);
    CheckParser(args[0], args[0]);

    // The program name cannot hold a quote; it is quoted whole when it is empty or has blanks.
    std::erase(args[0], L'"');
    std::wstring line =
        args[0].empty() || args[0].find_first_of(L" \t") != std::wstring::npos ? L"\"" + args[0] + L"\"" : args[0];
    for (std::size_t i = 1; i < args.size(); ++i)
        line += L' ' + QuoteArgument(args[i]);
    FUZZ_CHECK(SplitCommandLinePortable(line) == args);
    return 0;
}
