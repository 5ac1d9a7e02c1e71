#include "core/SampleLayout.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::wstring>;

// Ten pixels a character: "词库 ..." is 60 wide.
TEST(SampleLayout, FitsTheWordsIntoTheControl)
{
    const MeasureText measure = [](std::wstring_view text) {
        EXPECT_EQ(text.find_first_of(L"\r\n"), text.npos);
        return 10 * static_cast<int>(text.size());
    };
    const Words three{L"词库", L"拼音", L"输入法"};
    // clang-format off
    const struct { const char* name; Words samples; int lineWidth, maxLines; std::wstring expect; } rows[] = {
        {"everything on one line", three, 200, 3, L"词库 拼音 输入法 ..."},
        {"a line exactly as wide as the control", three, 130, 1, L"词库 拼音 输入法 ..."},
        {"a break between words", three, 90, 2, L"词库 拼音\r\n输入法 ..."},
        {"the ellipsis moves with its word", {L"词库", L"拼音"}, 60, 2, L"词库\r\n拼音 ..."},
        {"words dropped when the lines run out", three, 129, 1, L"词库 拼音 ..."},
        {"a word dropped for its ellipsis", {L"词库", L"拼音", L"输入法", L"中文"}, 60, 2, L"词库\r\n拼音 ..."},
        {"an over-wide first word", {L"输入法词库词典", L"拼音"}, 60, 3, L"输入法词库词典 ..."},
        {"an over-wide later word", {L"词库", L"输入法词库词典", L"拼音"}, 60, 3, L"词库 ..."},
        {"no samples", {}, 100, 1, L"<无>"},
        {"maxLines 0 counts as 1", three, 90, 0, L"词库 拼音 ..."},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FitSampleText(row.samples, row.lineWidth, row.maxLines, measure), row.expect);
    }
}

}  // namespace
