#pragma once
// The system's own command-line splitter, for the layer that parses the
// program's command line on Windows.

#include <string>
#include <vector>

namespace win {

// CommandLineToArgvW: the first argument by the program-name rules, the others
// by the argument rules. False when the system cannot split the line; an empty
// line gives the program's own path.
[[nodiscard]] bool SplitCommandLineBySystem(const std::wstring& commandLine, std::vector<std::wstring>& args);

}  // namespace win
