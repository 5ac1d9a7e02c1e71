// The success text's limit.
#include "ui/MessageText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The name goes into the second line literally, and the whole text stops at 1023 units.
TEST(SuccessMessageTest, NamesTheDictionaryAndStopsAt1023Units)
{
    const std::wstring prefix = L"您已成功安装\r\n", suffix = L" 分类词库。";
    const struct {
        const char* what;
        std::wstring name;
    } rows[] = {
        {"printf directives stay literal", L"%s%d%n"},
        {"text of exactly 1023 units", std::wstring(1023 - prefix.size() - suffix.size(), L'词')},
        {"text of 1024 units", std::wstring(1024 - prefix.size() - suffix.size(), L'词')},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ui::FormatInstallSuccessMessage(row.name), (prefix + row.name + suffix).substr(0, 1023));
    }
}

}  // namespace
