// The system's splitter, which the dispatcher hands the option parser on Windows,
// against the core's own on every line of up to 7 characters that the rules
// treat specially: the two must split alike.
#include "win/SystemCommandLine.h"
#include "core/CommandLineSplitter.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

TEST(SystemCommandLine, SplitsAsTheCoreSplitterDoes)
{
    std::vector<std::wstring> lines{L""};
    for (std::size_t i = 0; lines[i].size() < 7; ++i)
        for (wchar_t c : std::wstring_view(L" \t\"\\ab"))
            lines.push_back(lines[i] + c);
    // The system splitter reads an empty line as the program's path: the parser never hands it one.
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
        std::vector<std::wstring> system;
        ASSERT_TRUE(win::SplitCommandLineBySystem(*line, system)) << testing::PrintToString(*line);
        ASSERT_EQ(SplitCommandLinePortable(*line), system) << testing::PrintToString(*line);
    }
}

}  // namespace
