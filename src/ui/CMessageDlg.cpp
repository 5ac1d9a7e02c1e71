#include "ui/CMessageDlg.h"

#include "resource.h"

#include <utility>

namespace ui {

int PictureForStyle(uint32_t styleFlags)
{
    if (styleFlags & kInformationPicture)
        return IDB_INFORMATION;
    if (styleFlags & kWarningPictureMask)
        return IDB_WARNING;
    return IDB_SUCCESS;
}

}  // namespace ui

CMessageDlg::CMessageDlg(std::wstring message, uint32_t styleFlags, bool showMoreLink, std::wstring title,
                         std::wstring okText, std::wstring continueText)
    : message(std::move(message)),
      styleFlags(styleFlags),
      showMoreLink(showMoreLink),
      title(std::move(title)),
      okText(std::move(okText)),
      continueText(std::move(continueText))
{
}

INT_PTR CMessageDlg::DoModal(HWND owner) { return ui::RunModal(*this, IDD, owner); }

INT_PTR CMessageDlg::HandleMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        OnInitDialog(dialog);
        return TRUE;  // the system gives the focus to button 1, so Enter chooses it
    }
    if (msg == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL || id == IDC_CONTINUE) {
            ::EndDialog(dialog, id);
            return TRUE;
        }
    }
    if (msg == WM_DPICHANGED) {
        OnDpiChanged(dialog, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    }
    INT_PTR result = FALSE;
    if (HandleBackgroundMessage(dialog, msg, wParam, lParam, frame.Dpi(), result))
        return result;
    return FALSE;
}

void CMessageDlg::OnInitDialog(HWND dialog)
{
    frame.Prepare(dialog);
    ::SetDlgItemTextW(dialog, IDC_MESSAGE, message.c_str());
    if (!title.empty())
        ::SetWindowTextW(dialog, title.c_str());
    if (!okText.empty())
        ::SetDlgItemTextW(dialog, IDOK, okText.c_str());
    if (!continueText.empty())
        ::SetDlgItemTextW(dialog, IDC_CONTINUE, continueText.c_str());
    if (!(styleFlags & ui::kShowContinueButton))
        ::ShowWindow(::GetDlgItem(dialog, IDC_CONTINUE), SW_HIDE);
    ShowPicture(dialog);
    PrepareLink(dialog);
}

void CMessageDlg::OnDpiChanged(HWND dialog, UINT dpi, const RECT& suggested)
{
    frame.ChangeDpi(dialog, dpi, suggested);
    ShowPicture(dialog);
    moreLink.ChangeFont(frame.Font(dialog));
}

void CMessageDlg::ShowPicture(HWND dialog)
{
    iconBitmap.Reset(ui::LoadPicture(ui::PictureForStyle(styleFlags), frame.Dpi()));
    if (iconBitmap)
        ::SendDlgItemMessageW(dialog, IDC_MESSAGE_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                              reinterpret_cast<LPARAM>(iconBitmap.Get()));
}

void CMessageDlg::PrepareLink(HWND dialog)
{
    HWND control = ::GetDlgItem(dialog, IDC_MORE_DICT_LINK);
    if (!moreLink.GetNormalFont())
        moreLink.SetNormalFont(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    moreLink.SubclassWindow(control);  // on failure the control stays a plain static text
    moreLink.SetTarget(ui::kMoreDictUrl);
    if (!showMoreLink)
        ::ShowWindow(control, SW_HIDE);
}
