// Process entry: brings the process up, runs the one command of the command
// line and turns its result into the exit code. There is no window of its own.

#include "host/ConfigStore.h"
#include "host/XLog.h"
#include "installer/CellDictInstaller.h"
#include "ui/MainUI.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <memory>

#ifdef _MSC_VER
#pragma comment(lib, "comctl32.lib")
#pragma comment(lib, "ole32.lib")
#endif

namespace {

// COM for the thread, single-threaded apartment; the result is not checked.
class ComApartment {
public:
    ComApartment() { ::CoInitialize(nullptr); }
    ~ComApartment() { ::CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

void InitCommonControlClasses()
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);
}

int RunCommandLine(const wchar_t* commandLine)
{
    MainUI ui;
    std::unique_ptr<CellDictInstaller> engine;
    int result = 1;
    {
        ComApartment com;
        InitCommonControlClasses();
        InitLogging();
        engine = std::make_unique<CellDictInstaller>();
        engine->ui = &ui;
        try {
            result = engine->Run(commandLine ? commandLine : L"");
        } catch (...) {
            // Nothing escapes the entry point; an unexpected failure is a failed run.
            result = 1;
        }
    }
    // The engine outlives COM, as the dialogs it ran did.
    engine.reset();
    return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR commandLine, int /*show*/)
{
    const int result = RunCommandLine(commandLine);
    ReleaseConfigComponent();
    return result;
}
