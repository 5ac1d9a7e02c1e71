#pragma once
// Texts of the message dialogs that are made from the dictionary.

#include <string>

namespace ui {

inline constexpr std::size_t kMessageTextLimit = 1023;  // units kept of a formatted message

// "您已成功安装\r\n<name> 分类词库。", cut to kMessageTextLimit units.
std::wstring FormatInstallSuccessMessage(const std::wstring& dictName);

}  // namespace ui
