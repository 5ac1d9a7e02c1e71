#pragma once
// Splitting a command line (without the program name) into arguments by the
// rules of CommandLineToArgvW.

#include <string>
#include <vector>

// This project's own splitter; builds everywhere.
std::vector<std::wstring> SplitCommandLinePortable(const std::wstring& commandLine);

// The platform's splitter: CommandLineToArgvW on Windows, the portable one
// elsewhere. False when the system splitter fails. `commandLine` is not empty.
[[nodiscard]] bool SplitCommandLine(const std::wstring& commandLine, std::vector<std::wstring>& args);
