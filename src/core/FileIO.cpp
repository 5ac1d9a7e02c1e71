#include "core/FileIO.h"

#include "core/Utf8.h"

#include <cwchar>

UniqueFile OpenFile(const std::wstring& path, const char* mode)
{
    // An embedded NUL would silently shorten the path to another file's name.
    if (path.find(L'\0') != std::wstring::npos)
        return nullptr;
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return UniqueFile(_wfopen(path.c_str(), wideMode.c_str()));
#else
    return UniqueFile(std::fopen(WideToUtf8(path).c_str(), mode));
#endif
}

bool SeekFile(std::FILE* file, int64_t offset, int origin)
{
#ifdef _WIN32
    return _fseeki64(file, offset, origin) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

int64_t TellFile(std::FILE* file)
{
#ifdef _WIN32
    return _ftelli64(file);
#else
    return static_cast<int64_t>(ftello(file));
#endif
}
