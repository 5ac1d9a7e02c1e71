#pragma once
// Splitting a command line into arguments by the rules of CommandLineToArgvW,
// with this project's own splitter, which builds everywhere. The layer that
// parses a command line may hand the option parser the system's splitter instead.

#include <string>
#include <vector>

std::vector<std::wstring> SplitCommandLinePortable(const std::wstring& commandLine);

// A splitter as the option parser takes it: false when it cannot split the line.
// `commandLine` is not empty.
using CommandLineSplitter = bool (*)(const std::wstring& commandLine, std::vector<std::wstring>& args);

// The portable splitter in that form; it never fails.
[[nodiscard]] bool SplitCommandLine(const std::wstring& commandLine, std::vector<std::wstring>& args);
