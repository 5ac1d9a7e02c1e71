#include "app/CommandLineSplitter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::wstring>;

std::string Visible(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7f)
            out += static_cast<char>(c);
        else
            out += "<" + std::to_string(static_cast<unsigned long>(c)) + ">";
    }
    return out;
}

struct SplitCase {
    const wchar_t* line;
    Args expected;
};

// Rows hold what the system splitter returns; the first argument follows the
// program-name rules, the others the argument rules.
const SplitCase kSplitCases[] = {
    {L"a", {L"a"}},
    {L"a b\tc", {L"a", L"b", L"c"}},
    {L"a   b  ", {L"a", L"b"}},
    {L" a", {L"", L"a"}},
    {L"\ta\tb", {L"", L"a", L"b"}},
    {L"   ", {L""}},
    {L"a\nb c", {L"a\nb", L"c"}},
    {L"a\vb\rc", {L"a\vb\rc"}},
    // First argument: quotes group and end it; backslashes are literal.
    {L"\"C:\\My Dicts\\a.pvdict\"", {L"C:\\My Dicts\\a.pvdict"}},
    {L"\"a\"b c", {L"a", L"b", L"c"}},
    {L"\"a", {L"a"}},
    {L"\"\"", {L""}},
    {L"\"\"\"a", {L"", L"a"}},
    {L"a\"b\" c", {L"a\"b\"", L"c"}},
    {L"a\\\"b c", {L"a\\\"b", L"c"}},
    {L"C:\\dir\\ x", {L"C:\\dir\\", L"x"}},
    // Later arguments: quotes group, and are removed.
    {L"x \"a b\"", {L"x", L"a b"}},
    {L"x a\"b c\"d e", {L"x", L"ab cd", L"e"}},
    {L"x \"a b", {L"x", L"a b"}},
    {L"x \"\"", {L"x", L""}},
    {L"x \"\" \"\"", {L"x", L"", L""}},
    {L"x \"\"  ", {L"x", L""}},
    {L"x \"\t\"", {L"x", L"\t"}},
    // Backslashes: literal unless they precede a quote.
    {L"x a\\b\\\\c\\", {L"x", L"a\\b\\\\c\\"}},
    {L"x a\\\"b", {L"x", L"a\"b"}},
    {L"x a\\\\\"b c\" d", {L"x", L"a\\b c", L"d"}},
    {L"x a\\\\\\\"b", {L"x", L"a\\\"b"}},
    {L"x a\\\\\\\\\"b c\"", {L"x", L"a\\\\b c"}},
    {L"x \"C:\\Dicts\\\\\" y", {L"x", L"C:\\Dicts\\", L"y"}},
    {L"x \"C:\\Dicts\\\" y", {L"x", L"C:\\Dicts\" y"}},
    {L"\"a b\"\\\"c d", {L"a b", L"\"c", L"d"}},
    // Runs of quotes.
    {L"x \"a\"\"b\"", {L"x", L"a\"b"}},
    {L"x \"b\"\"c\" d", {L"x", L"b\"c d"}},
    {L"x \"a\"\"\"b\"", {L"x", L"a\"b"}},
    {L"x \"\"\"b", {L"x", L"\"b"}},
    {L"x \"\"\"\"", {L"x", L"\""}},
    {L"x \"\"\"\"\"\"", {L"x", L"\"\""}},
    {L"x a\"\"b", {L"x", L"ab"}},
    // Non-ASCII: CJK, a full-width space (not a separator), a surrogate pair.
    {L"\u8BCD\u5E93 \"\u4E2D\u6587 \u8BCD\u5E93.pvdict\"", {L"\u8BCD\u5E93", L"\u4E2D\u6587 \u8BCD\u5E93.pvdict"}},
    {L"a\u3000b", {L"a\u3000b"}},
    {L"x \U0001F600\\\"\U00020000", {L"x", L"\U0001F600\"\U00020000"}},
    {L"\"\U0001F600 \" \u00E9", {L"\U0001F600 ", L"\u00E9"}},
};

TEST(CommandLineSplitter, BothSplittersGiveTheExpectedArguments)
{
    for (const auto& row : kSplitCases) {
        SCOPED_TRACE(Visible(row.line));
        EXPECT_EQ(SplitCommandLinePortable(row.line), row.expected);
        Args args;
        ASSERT_TRUE(SplitCommandLine(row.line, args));
        EXPECT_EQ(args, row.expected);
    }
}

TEST(CommandLineSplitter, TextEndsAtTheFirstNul)
{
    const std::wstring line(L"a \"b\0c\" d", 9);
    EXPECT_EQ(SplitCommandLinePortable(line), (Args{L"a", L"b"}));
}

#ifdef _WIN32
// The system splitter is the reference: both must agree on every line built from
// the characters that the rules treat specially.
testing::AssertionResult SplitsLikeTheSystem(const std::wstring& line)
{
    Args system;
    if (!SplitCommandLine(line, system))
        return testing::AssertionFailure() << "system splitter failed on [" << Visible(line) << "]";
    Args portable = SplitCommandLinePortable(line);
    if (portable == system)
        return testing::AssertionSuccess();
    auto failure = testing::AssertionFailure() << "line [" << Visible(line) << "]\n  system:  ";
    for (const auto& arg : system)
        failure << " {" << Visible(arg) << "}";
    failure << "\n  portable:";
    for (const auto& arg : portable)
        failure << " {" << Visible(arg) << "}";
    return failure;
}

const wchar_t kAlphabet[] = {L' ', L'\t', L'"', L'\\', L'a', L'b'};
constexpr std::size_t kAlphabetSize = sizeof(kAlphabet) / sizeof(kAlphabet[0]);

TEST(CommandLineSplitter, AgreesWithTheSystemOnEveryShortLine)
{
    for (std::size_t length = 1; length <= 7; ++length) {
        std::size_t total = 1;
        for (std::size_t i = 0; i < length; ++i)
            total *= kAlphabetSize;
        for (std::size_t n = 0; n < total; ++n) {
            std::wstring line;
            for (std::size_t k = n, i = 0; i < length; ++i, k /= kAlphabetSize)
                line += kAlphabet[k % kAlphabetSize];
            ASSERT_TRUE(SplitsLikeTheSystem(line));
        }
    }
}

TEST(CommandLineSplitter, AgreesWithTheSystemOnRandomLines)
{
    std::mt19937 random(20240611);
    for (int n = 0; n < 50000; ++n) {
        std::wstring line(1 + random() % 40, L' ');
        for (auto& c : line)
            c = kAlphabet[random() % kAlphabetSize];
        ASSERT_TRUE(SplitsLikeTheSystem(line));
    }
}
#endif

}  // namespace
