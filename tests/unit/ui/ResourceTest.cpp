// The success text's limit.
#include "ui/MessageText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The name goes into the second line literally, and the whole text stops at 1023 units.
TEST(SuccessMessageTest, NamesTheDictionaryAndStopsAt1023Units)
{
    const std::wstring prefix = L"您已成功安装\r\n", suffix = L" 分类词库。";
    // clang-format off
    const struct { const char* name; std::wstring dictName; } rows[] = {
        {"printf directives stay literal", L"%s%d%n"},
        {"text of exactly 1023 units", std::wstring(1023 - prefix.size() - suffix.size(), L'词')},
        {"text of 1024 units", std::wstring(1024 - prefix.size() - suffix.size(), L'词')},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ui::FormatInstallSuccessMessage(row.dictName), (prefix + row.dictName + suffix).substr(0, 1023));
    }
}

}  // namespace
