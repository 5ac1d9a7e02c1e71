// ui_tests: the dialog tests, plus two helper modes used around them:
//   --prepare-prefix   makes the Wine prefix show the dialogs' fonts
//                      (run as a fixture before the tests: fonts are read at process start)
//   --record-url URL   stands in for the browser: appends URL to the file that
//                      LEXINST_UI_URL_RECORD names
#include "DialogDriver.h"
#include "UrlRecorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int PreparePrefix()
{
    const bool ok = uitest::PrepareDialogPrefix();
    std::fputs(ok ? "prefix prepared\n" : "could not prepare the prefix\n", stdout);
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
