// Word lists and the UTF-8 / UTF-16 conversions they go through.

#include "TextCodec.h"
#include "WordList.h"

#include <gtest/gtest.h>

using pvdict::ParseWordList;
using pvdict::Utf8ToWide;

TEST(WordList, SplitsLinesIntoWords)
{
    struct Case {
        const char* label;
        std::string text;
        std::vector<std::wstring> words;
    };
    const Case cases[] = {
        {"LF", "你好\n谢谢\n", {L"你好", L"谢谢"}},
        {"CRLF and no final newline", "你好\r\n谢谢", {L"你好", L"谢谢"}},
        {"BOM", "\xEF\xBB\xBF你好\n", {L"你好"}},
        {"BOM only once", "\xEF\xBB\xBF\xEF\xBB\xBF你好", {L"\xFEFF你好"}},
        {"empty and blank lines", "\n\r\n  \t\n你好\n\n", {L"你好"}},
        {"blanks around a word, not inside", " \t中 国\t \r\n", {L"中 国"}},
        {"duplicates kept", "a\na\n", {L"a", L"a"}},
        {"nothing at all", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::wstring> words;
        std::string error;
        ASSERT_TRUE(ParseWordList(c.text, words, error)) << error;
        EXPECT_EQ(words, c.words);
    }
}

TEST(WordList, NamesTheLineItRefuses)
{
    struct Case {
        const char* label;
        std::string text;
        const char* line;
    };
    const Case cases[] = {
        {"Latin-1 byte", "ok\n\ncaf\xE9\n", "line 3 "},
        {"NUL inside a word", std::string("a\nb\0c\n", 6), "line 2 "},
        {"cut sequence at the end", "ok\n\xE4\xBD", "line 2 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::wstring> words;
        std::string error;
        EXPECT_FALSE(ParseWordList(c.text, words, error));
        EXPECT_NE(error.find(c.line), std::string::npos) << error;
    }
}

TEST(TextCodec, RefusesMalformedUtf8)
{
    const std::pair<const char*, std::string> cases[] = {
        {"stray continuation byte", "\x80"},
        {"overlong slash", "\xC0\xAF"},
        {"overlong three-byte form", "\xE0\x80\xAF"},
        {"encoded surrogate", "\xED\xA0\x80"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80"},
        {"lead byte F8", "\xF8\x88\x80\x80\x80"},
        {"truncated", "\xE4\xBD"},
        {"lead byte then ASCII", "\xE4" "a" "b"},
    };
    for (const auto& [label, text] : cases) {
        SCOPED_TRACE(label);
        EXPECT_FALSE(Utf8ToWide(text).has_value());
    }
}

TEST(TextCodec, KeepsEveryPlaneThroughAllForms)
{
    // ASCII, two-, three- and four-byte forms, the last needing a surrogate pair.
    const std::string text = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";
    const auto wide = Utf8ToWide(text);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(WideToUtf8(*wide), text);
    const std::u16string units = {u'a', 0xE9, 0x4E2D, 0xD83D, 0xDE00, 0xDBFF, 0xDFFF};
    EXPECT_EQ(pvdict::WideToUtf16(*wide), units);
}

TEST(TextCodec, ReplacesLoneSurrogatesWhenPrinting)
{
    const std::wstring lone = {L'a', static_cast<wchar_t>(0xD800), L'b'};
    EXPECT_EQ(WideToUtf8(lone), "a\xEF\xBF\xBD" "b");
}
