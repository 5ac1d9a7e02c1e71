// The system's own argument splitter; the one file of the core that includes <windows.h>.
#include "core/CommandLineSplitter.h"

#include "win/UniqueResource.h"

#include <shellapi.h>

bool SplitCommandLine(const std::wstring& commandLine, std::vector<std::wstring>& args)
{
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine.c_str(), &count);
    win::UniqueLocal owner(reinterpret_cast<HLOCAL>(argv));
    if (!argv)
        return false;
    args.assign(argv, argv + count);
    return true;
}
