#include "ui/CMainDlg.h"

#include "resource.h"

INT_PTR CMainDlg::DoModal(HWND owner) { return ui::RunModal(*this, IDD, owner); }

INT_PTR CMainDlg::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        OnInitDialog(dialog);
        return TRUE;  // the system gives the focus to button 1
    }
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            ::EndDialog(dialog, id);
            return TRUE;
        }
    }
    INT_PTR result = FALSE;
    if (HandleBackgroundMessage(dialog, message, wParam, lParam, result))
        return result;
    return FALSE;
}

void CMainDlg::OnInitDialog(HWND dialog)
{
    frame.Prepare(dialog);
    if (info)
        ShowDictionary(dialog);
}

void CMainDlg::ShowDictionary(HWND dialog)
{
    LOGFONTW logFont{};
    auto dialogFont = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (dialogFont && ::GetObjectW(dialogFont, sizeof logFont, &logFont) == sizeof logFont) {
        logFont.lfWeight = FW_BOLD;
        boldFont.Reset(::CreateFontIndirectW(&logFont));
    }
    if (boldFont) {
        const auto boldFontParam = reinterpret_cast<WPARAM>(boldFont.Get());
        ::SendDlgItemMessageW(dialog, IDC_DICT_NAME, WM_SETFONT, boldFontParam, FALSE);
        ::SendDlgItemMessageW(dialog, IDC_ENTRY_COUNT, WM_SETFONT, boldFontParam, FALSE);
    }
    ::SetDlgItemTextW(dialog, IDC_DICT_NAME, info->header.GetName().c_str());
    ::SetDlgItemTextW(dialog, IDC_ENTRY_COUNT, info->header.FormatEntryCount(L"%d").c_str());

    ::SetDlgItemTextW(dialog, IDC_SAMPLE_WORDS, info->GetSampleText().c_str());
    ::SetDlgItemTextW(dialog, IDC_DESCRIPTION, info->header.GetDescription().c_str());
}
