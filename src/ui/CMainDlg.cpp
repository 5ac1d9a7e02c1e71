#include "ui/CMainDlg.h"

#include "core/SampleLayout.h"
#include "resource.h"

#include <string_view>

namespace {

// The sample words laid out for the control's width, height and font.
std::wstring SampleTextFor(HWND control, const std::vector<std::wstring>& samples)
{
    RECT client{};
    ::GetClientRect(control, &client);
    const win::ScopedWindowDC dc(control);
    win::ScopedSelect font(dc.Get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    const int lineHeight = dc.Get() && ::GetTextMetricsW(dc.Get(), &metrics) ? metrics.tmHeight : 0;
    const auto measure = [&dc](std::wstring_view text) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    return FitSampleText(samples, client.right, lineHeight > 0 ? client.bottom / lineHeight : 1, measure);
}

}  // namespace

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
    if (message == WM_DPICHANGED) {
        OnDpiChanged(dialog, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    }
    INT_PTR result = FALSE;
    if (HandleBackgroundMessage(dialog, message, wParam, lParam, frame.Dpi(), result))
        return result;
    return FALSE;
}

void CMainDlg::OnInitDialog(HWND dialog)
{
    frame.Prepare(dialog);
    ShowPicture(dialog);
    if (info)
        ShowDictionary(dialog);
}

void CMainDlg::OnDpiChanged(HWND dialog, UINT dpi, const RECT& suggested)
{
    frame.ChangeDpi(dialog, dpi, suggested);
    ShowPicture(dialog);
    if (info)
        ShowDictionary(dialog);
}

// The template's picture is the 100 % one; other scales replace it.
void CMainDlg::ShowPicture(HWND dialog)
{
    if (!packagePicture && ui::PictureIdForDpi(IDB_PACKAGE, frame.Dpi()) == IDB_PACKAGE)
        return;
    packagePicture.Reset(ui::LoadPicture(IDB_PACKAGE, frame.Dpi()));
    if (packagePicture)
        ::SendDlgItemMessageW(dialog, IDC_PACKAGE_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                              reinterpret_cast<LPARAM>(packagePicture.Get()));
}

void CMainDlg::ShowDictionary(HWND dialog)
{
    boldFont.Reset(ui::MakeFontOfWeight(frame.Font(dialog), FW_BOLD));
    if (boldFont) {
        const auto boldFontParam = reinterpret_cast<WPARAM>(boldFont.Get());
        ::SendDlgItemMessageW(dialog, IDC_DICT_NAME, WM_SETFONT, boldFontParam, FALSE);
        ::SendDlgItemMessageW(dialog, IDC_ENTRY_COUNT, WM_SETFONT, boldFontParam, FALSE);
    }
    ::SetDlgItemTextW(dialog, IDC_DICT_NAME, info->header.GetName().c_str());
    ::SetDlgItemTextW(dialog, IDC_ENTRY_COUNT, info->header.FormatEntryCount(L"%d").c_str());

    const std::wstring samples = SampleTextFor(::GetDlgItem(dialog, IDC_SAMPLE_WORDS), info->samples);
    ::SetDlgItemTextW(dialog, IDC_SAMPLE_WORDS, samples.c_str());
    ::SetDlgItemTextW(dialog, IDC_DESCRIPTION, info->header.GetDescription().c_str());
}
