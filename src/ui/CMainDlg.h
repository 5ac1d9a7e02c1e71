#pragma once
// The dictionary information dialog: name, entry count, sample words and
// description of a dictionary file, with "确定" (install) and "取消".

#include "core/CellDictInfo.h"
#include "ui/ColorBackground.h"
#include "ui/DialogFrame.h"
#include "win/UniqueResource.h"

#include <windows.h>

class CMainDlg : public ColorBackground<CMainDlg> {
public:
    enum { IDD = 129 };

    // `info` may be null (the template texts stay); it must outlive the dialog.
    explicit CMainDlg(const CellDictInfo* info) : info(info) {}
    CMainDlg(const CMainDlg&) = delete;
    CMainDlg& operator=(const CMainDlg&) = delete;

    // 1: install ("确定" or Enter); 2: "取消", Esc or the close box; -1: not created.
    INT_PTR DoModal(HWND owner);

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnInitDialog(HWND dialog);
    void OnDpiChanged(HWND dialog, UINT dpi, const RECT& suggested);
    void ShowPicture(HWND dialog);
    void ShowDictionary(HWND dialog);

    win::UniqueFont boldFont;
    const CellDictInfo* info;
    win::UniqueBitmap packagePicture;  // null while the template's picture is shown
    ui::DialogFrame frame;
};
