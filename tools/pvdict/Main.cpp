// Process entry of pvdict: turns the platform's arguments into UTF-8.

#include "Pvdict.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "TextCodec.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// Prints UTF-8 to the console for this run and puts the console back afterwards.
class Utf8ConsoleOutput {
public:
    Utf8ConsoleOutput() : previous_(GetConsoleOutputCP())
    {
        if (previous_ != 0)
            SetConsoleOutputCP(CP_UTF8);
    }
    ~Utf8ConsoleOutput()
    {
        if (previous_ != 0)
            SetConsoleOutputCP(previous_);
    }
    Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
    Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;

private:
    UINT previous_;
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    Utf8ConsoleOutput console;
    // The word list is read as bytes: no CRLF translation, no end at Ctrl+Z.
    _setmode(_fileno(stdin), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(WideToUtf8(argv[i]));
    return pvdict::RunPvdict(args, std::cin, std::cout, std::cerr);
}

#else

int main(int argc, char** argv)
{
    return pvdict::RunPvdict(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}

#endif
