#include "win/SystemCommandLine.h"

#include "win/UniqueResource.h"

#include <shellapi.h>

namespace win {

bool SplitCommandLineBySystem(const std::wstring& commandLine, std::vector<std::wstring>& args)
{
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine.c_str(), &count);
    const UniqueLocal owner(reinterpret_cast<HLOCAL>(argv));
    if (!argv)
        return false;
    args.assign(argv, argv + count);
    return true;
}

}  // namespace win
