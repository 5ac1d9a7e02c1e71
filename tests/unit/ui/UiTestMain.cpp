// ui_tests: the dialog tests, plus two helper modes used around them:
//   --prepare-prefix   makes the Wine prefix show the dialogs' fonts
//                      (run as a fixture before the tests: fonts are read at process start)
//   --record-url URL   stands in for the browser: appends URL to the file that
//                      kUrlRecordVariable names
#include "DialogDriver.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool RecordUrl(const std::wstring& url)
{
    wchar_t file[MAX_PATH] = {};
    FILE* out = ::GetEnvironmentVariableW(uitest::kUrlRecordVariable, file, MAX_PATH) ? _wfopen(file, L"ab") : nullptr;
    if (!out)
        return false;
    const std::wstring line = url + L"\n";
    const bool ok = std::fwrite(line.data(), sizeof(wchar_t), line.size(), out) == line.size();
    std::fclose(out);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 2 && std::wstring(argv[1]) == L"--prepare-prefix") {
        const bool ok = uitest::PrepareDialogPrefix();
        std::fputs(ok ? "prefix prepared\n" : "could not prepare the prefix\n", stdout);
        return ok ? 0 : 1;
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"--record-url")
        return RecordUrl(argv[2]) ? 0 : 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
