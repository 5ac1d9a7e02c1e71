#include "ui/MainUI.h"

#include "ui/CMainDlg.h"
#include "ui/CMessageDlg.h"
#include "ui/MessageText.h"
#include "win/FormatWide.h"

#include <cstdint>
#include <string>

namespace ui {

std::wstring FormatInstallSuccessMessage(const std::wstring& dictName)
{
    std::wstring text = win::FormatWide(L"您已成功安装\r\n%s 分类词库。", dictName.c_str());
    if (text.size() > kMessageTextLimit)
        text.resize(kMessageTextLimit);
    return text;
}

}  // namespace ui

namespace {

constexpr uint32_t kSuccessStyle = 0x00;
constexpr uint32_t kWarningStyle = 0x10;      // MB_ICONHAND
constexpr uint32_t kInformationStyle = 0x40;  // MB_ICONINFORMATION
constexpr uint32_t kQuestionStyle = 0x41;     // MB_ICONINFORMATION | MB_OKCANCEL
constexpr wchar_t kInstallFailed[] = L"词库安装失败";

constexpr wchar_t kTemplate[] = L"";  // keeps the template's caption or label

// The dialog is owned by whatever window of this thread is active at the call.
INT_PTR RunMessage(const wchar_t* message, uint32_t styleFlags, bool showMoreLink, const wchar_t* title,
                   const wchar_t* okText, const wchar_t* continueText)
{
    CMessageDlg dialog(message, styleFlags, showMoreLink, title, okText, continueText);
    return dialog.DoModal(::GetActiveWindow());
}

}  // namespace

bool MainUI::ConfirmInstall(const CellDictInfo& info)
{
    CMainDlg dialog(&info);
    return dialog.DoModal(::GetActiveWindow()) == IDOK;
}

bool MainUI::ConfirmOverwrite()
{
    return RunMessage(L"您已安装最新版本。", kQuestionStyle, true, kTemplate, kTemplate, L"覆盖安装") == 1014;
}

void MainUI::ShowInstallSuccess(const CellDictInfo& info)
{
    const std::wstring message = ui::FormatInstallSuccessMessage(info.header.GetName());
    RunMessage(message.c_str(), kSuccessStyle, true, kTemplate, L"完成", kTemplate);
}

void MainUI::ShowInstallFailed() { RunMessage(kInstallFailed, kWarningStyle, true, kTemplate, kTemplate, kTemplate); }

void MainUI::ShowNoFileSpecified()
{
    RunMessage(L"请指定待安装的词库文件。", kInformationStyle, false, kTemplate, kTemplate, kTemplate);
}

void MainUI::ShowFileNotFound()
{
    RunMessage(L"指定的词库文件不存在！", kWarningStyle, false, kInstallFailed, kTemplate, kTemplate);
}

void MainUI::ShowDictDamaged()
{
    RunMessage(L"分类词库已损坏，请重新下载。", kWarningStyle, true, kInstallFailed, kTemplate, kTemplate);
}

void MainUI::ShowVersionIncompatible()
{
    RunMessage(L"检测到本地输入法版本与词库文件不兼容，请升级到最新版本。", kWarningStyle, false, kInstallFailed,
               kTemplate, kTemplate);
}

void MainUI::ShowQuotaExceeded()
{
    RunMessage(L"超出词库容量限额，请尝试在词库管理界面中删除一些不需要的分类词库。", kWarningStyle, false,
               kInstallFailed, kTemplate, kTemplate);
}
