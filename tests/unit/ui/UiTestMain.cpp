// ui_tests: the dialog tests, plus two helper modes used around them:
//   --prepare-prefix   makes the Wine prefix show the dialogs' Chinese font
//                      (run as a fixture before the tests: fonts are read at process start)
//   --record-url URL   stands in for the browser: appends URL to the file that
//                      LEXINST_UI_URL_RECORD names
#include "UrlRecorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool SetString(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* value)
{
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const auto bytes = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
    const bool ok = ::RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes) ==
                    ERROR_SUCCESS;
    ::RegCloseKey(handle);
    return ok;
}

// The dialogs ask for "宋体"; the test prefix has no such font, so point it at an
// installed CJK font. Without a window manager Wine must draw the window frames itself.
int PreparePrefix()
{
    const wchar_t* replacements = L"Software\\Wine\\Fonts\\Replacements";
    bool ok = SetString(HKEY_CURRENT_USER, replacements, L"宋体", L"WenQuanYi Zen Hei");
    ok = SetString(HKEY_CURRENT_USER, replacements, L"SimSun", L"WenQuanYi Zen Hei") && ok;
    ok = SetString(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Decorated", L"N") && ok;
    std::fputs(ok ? "prefix prepared\n" : "could not write the prefix settings\n", stdout);
    return ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 2 && std::wstring(argv[1]) == L"--prepare-prefix")
        return PreparePrefix();
    if (argc >= 3 && std::wstring(argv[1]) == L"--record-url")
        return uitest::RecordUrl(argv[2]) ? 0 : 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
