// ui_tests: the dialog tests, and the stand-in browser they register for the
// link: "ui_tests --record-url FILE URL" appends URL and a line end to FILE.
#include "DialogDriver.h"
#include "support/E2eSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && std::wstring(argv[1]) == L"--record-url") {
        FILE* out = _wfopen(argv[2], L"ab");
        const std::string line = e2e::ToUtf8(argv[3]) + "\n";
        const bool ok = out && std::fwrite(line.data(), 1, line.size(), out) == line.size();
        return out && std::fclose(out) == 0 && ok ? 0 : 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    // Before any lexinst.exe starts: Wine reads these settings at process start.
    if (!uitest::PrepareDialogPrefix()) {
        std::fputs("could not prepare the Wine prefix for the dialogs\n", stderr);
        return 1;
    }
    return RUN_ALL_TESTS();
}
