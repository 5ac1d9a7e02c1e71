#pragma once
// Dictionaries and pixel checks shared by the dialog tests.

#include "DialogDriver.h"
#include "dict/CellDictFile.h"

#include <windows.h>

#include <string>
#include <vector>

namespace uitest {

// The file that the stand-in browser (ui_tests --record-url) appends addresses to.
inline constexpr wchar_t kUrlRecordVariable[] = L"LEXINST_UI_URL_RECORD";

CellDictInfo MakeInfo(std::u16string_view name, std::u16string_view description, uint32_t entries,
                      std::vector<std::wstring> samples);

// Pixels of a control's rectangle in the capture that have exactly this colour.
int CountPixels(const DialogView& view, int control, COLORREF color);
// The darkest pixel (lowest sum of channels) inside a control's rectangle.
COLORREF DarkestPixel(const DialogView& view, int control);

}  // namespace uitest
