#pragma once
// The message dialog: a picture, a message, button 1 ("确定"), an optional
// second button (id 1014) and an optional "更多词库>>" link to the dictionary
// download page.

#include "ui/ColorBackground.h"
#include "ui/DialogFrame.h"
#include "ui/HyperLink.h"
#include "win/UniqueResource.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace ui {

inline constexpr wchar_t kMoreDictUrl[] = L"http://www.pelvo.example/dict.html";

// styleFlags bits, the values of the message-box type flags they stand for.
inline constexpr uint32_t kShowContinueButton = 0x01;  // MB_OKCANCEL
inline constexpr uint32_t kWarningPictureMask = 0x30;  // MB_ICONHAND, MB_ICONQUESTION
inline constexpr uint32_t kInformationPicture = 0x40;  // MB_ICONINFORMATION

// Bitmap resource shown for a set of style flags: information, warning or success.
int PictureForStyle(uint32_t styleFlags);

}  // namespace ui

class CMessageDlg : public ColorBackground<CMessageDlg> {
public:
    enum { IDD = 203 };

    // Empty title, okText or continueText keep the template's caption or label.
    CMessageDlg(std::wstring message, uint32_t styleFlags, bool showMoreLink, std::wstring title, std::wstring okText,
                std::wstring continueText);
    CMessageDlg(const CMessageDlg&) = delete;
    CMessageDlg& operator=(const CMessageDlg&) = delete;

    // 1: button 1 or Enter; 1014: the second button; 2: Esc or the close box; -1: not created.
    INT_PTR DoModal(HWND owner);

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnInitDialog(HWND dialog);
    void OnDpiChanged(HWND dialog, UINT dpi, const RECT& suggested);
    void ShowPicture(HWND dialog);
    void PrepareLink(HWND dialog);

    std::wstring message;
    uint32_t styleFlags;
    bool showMoreLink;
    std::wstring title;
    std::wstring okText;
    std::wstring continueText;
    win::UniqueBitmap iconBitmap;
    ui::HyperLink moreLink;  // destroyed first: its window is gone by then
    ui::DialogFrame frame;
};
