#include "host/XLog.h"

#include "host/ImeLocations.h"

#include <LogChannelTable.h>
#include <PvXLogApi.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstdarg>
#include <cstdlib>

namespace {

constexpr long kFail = static_cast<long>(0x80004005L);
constexpr long kAccessDenied = static_cast<long>(0x80070005L);

// The process-wide binding to the logging library. Its storage is static and
// never goes away, so a logging call made after the exit-time teardown still
// finds `state` at 0 and does nothing.
struct XLogBinding {
    volatile LONG state;
    LONG bound;
    HMODULE module;
    CRITICAL_SECTION lock;
    GetLogController2Fn getLogController;
    PvDebugReportFn debugReport;
    XLogAddIndentFn addIndent;
    XLogVFn logV;

    void Construct();
    static void Destroy();
    long BindLoggingLibrary(const wchar_t* name);
    long GetLogController(PvLogController** controller);
    void BindIfNeeded();
};

XLogBinding binding;

template <typename Fn>
Fn Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

void XLogBinding::Construct()
{
    bound = 0;
    module = nullptr;
    getLogController = nullptr;
    debugReport = nullptr;
    addIndent = nullptr;
    logV = nullptr;
    ::InitializeCriticalSection(&lock);
    ::InterlockedExchange(&state, 1);
    std::atexit(&XLogBinding::Destroy);
}

void XLogBinding::Destroy()
{
    ::InterlockedExchange(&binding.state, 0);
    binding.getLogController = nullptr;
    binding.debugReport = nullptr;
    binding.addIndent = nullptr;
    binding.logV = nullptr;
    binding.bound = 0;
    ::DeleteCriticalSection(&binding.lock);
}

long XLogBinding::BindLoggingLibrary(const wchar_t* name)
{
    if (state != 1)
        return kFail;
    if (bound)
        return 1;
    // Only a library already in the process is bound; the reference taken here is kept.
    HMODULE found = nullptr;
    if (!::GetModuleHandleExW(0, name, &found) || !found)
        return kFail;
    ::EnterCriticalSection(&lock);
    if (bound) {
        ::LeaveCriticalSection(&lock);
        ::FreeLibrary(found);
        return 1;
    }
    module = found;
    logV = Export<XLogVFn>(found, "XLogV");
    debugReport = Export<PvDebugReportFn>(found, "PvDebugReport");
    addIndent = Export<XLogAddIndentFn>(found, "XLogAddIndent");
    getLogController = Export<GetLogController2Fn>(found, "GetLogController2");
    // Published last, so that a reader that sees the flag also sees the entry points.
    ::InterlockedExchange(&bound, 1);
    ::LeaveCriticalSection(&lock);
    return 0;
}

void XLogBinding::BindIfNeeded()
{
    if (!bound)
        BindLoggingLibrary(kLogLibraryName);
}

long XLogBinding::GetLogController(PvLogController** controller)
{
    if (state != 1)
        return kAccessDenied;
    BindIfNeeded();
    if (!getLogController)
        return kFail;
    return getLogController(controller);
}

XLogBinding& GetBinding()
{
    static const bool constructed = (binding.Construct(), true);
    (void)constructed;
    return binding;
}

}  // namespace

void XLog(uint32_t level, const wchar_t* tag, const wchar_t* format, ...)
{
    XLogBinding& b = GetBinding();
    if (b.state != 1)
        return;
    b.BindIfNeeded();
    if (!b.logV)
        return;
    va_list args;
    va_start(args, format);
    b.logV(level, tag, format, args);
    va_end(args);
}

long InitLogging()
{
    wchar_t libraryPath[kPathUnits] = {};
    GetImeDir(libraryPath, kPathUnits, nullptr, true);
    ::PathAppendW(libraryPath, kLogLibraryName);
    HMODULE library = ::LoadLibraryW(libraryPath);
    if (!library)
        return kFail;

    XLogBinding& b = GetBinding();
    if (b.state == 1)
        b.BindLoggingLibrary(kLogLibraryName);

    PvLogController* controller = nullptr;
    b.GetLogController(&controller);
    if (!controller) {
        ::FreeLibrary(library);
        return 0;
    }

    wchar_t commonData[kPathUnits] = {};
    GetCommonDataDir(commonData, kPathUnits, true);
    const long status = controller->ops->Init(controller, commonData, 5000, 1);
    if (status < 0) {
        ::FreeLibrary(library);
        return status;
    }
    for (const LogChannelSetting& channel : kLogChannels)
        controller->ops->ConfigureChannel(controller, channel.name, channel.number, channel.settings);

    // The binding holds its own reference, so the library stays loaded.
    ::FreeLibrary(library);
    return 0;
}

FunctionTrace::FunctionTrace(int delta) : delta_(delta)
{
    XLogBinding& b = GetBinding();
    if (b.state != 1)
        return;
    b.BindIfNeeded();
    if (b.addIndent)
        b.addIndent(delta_);
}

FunctionTrace::~FunctionTrace()
{
    XLogBinding& b = GetBinding();
    if (b.state != 1)
        return;
    b.BindIfNeeded();
    if (b.addIndent)
        b.addIndent(-delta_);
}
