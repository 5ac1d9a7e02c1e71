#include "host/XLog.h"

#include "host/ImeLocations.h"
#include "win/Module.h"

#include <LogChannelTable.h>
#include <PvXLogApi.h>
#include <windows.h>

#include <cstdarg>
#include <cstdlib>

namespace {

constexpr long kFail = static_cast<long>(0x80004005L);
constexpr long kAccessDenied = static_cast<long>(0x80070005L);

// The process-wide binding to the logging library. Its storage is static,
// initialised before any code runs and never destroyed, so a logging call made
// after the exit-time teardown still finds `state` at 0 and does nothing.
struct XLogBinding {
    volatile LONG state = 0;
    LONG bound = 0;
    win::ResidentModule module;  // the reference taken when bound; never given back
    CRITICAL_SECTION lock = {};
    GetLogController2Fn getLogController = nullptr;
    PvDebugReportFn debugReport = nullptr;
    XLogAddIndentFn addIndent = nullptr;
    XLogVFn logV = nullptr;

    void Construct();
    static void Destroy();
    long BindLoggingLibrary(const wchar_t* name);
    long GetLogController(PvLogController** controller);
    void BindIfNeeded();
};

constinit XLogBinding binding;

void XLogBinding::Construct()
{
    bound = 0;
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
    // Only a library already in the process is bound; the reference taken here is
    // kept, and given back only when another thread bound the library meanwhile.
    win::UniqueModule found = win::ReferenceLoadedModule(name);
    if (!found)
        return kFail;
    ::EnterCriticalSection(&lock);
    if (bound) {
        ::LeaveCriticalSection(&lock);
        return 1;
    }
    module = win::ResidentModule(std::move(found));
    logV = module.Export<XLogVFn>("XLogV");
    debugReport = module.Export<PvDebugReportFn>("PvDebugReport");
    addIndent = module.Export<XLogAddIndentFn>("XLogAddIndent");
    getLogController = module.Export<GetLogController2Fn>("GetLogController2");
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
    // Without a folder the bare name is looked up in the system's library search
    // order. This reference lasts for the set-up only: the binding keeps its own.
    const win::UniqueModule library = win::LoadModule(win::AppendPath(ImeFolder(true), kLogLibraryName));
    if (!library)
        return kFail;

    XLogBinding& b = GetBinding();
    if (b.state == 1)
        b.BindLoggingLibrary(kLogLibraryName);

    PvLogController* controller = nullptr;
    b.GetLogController(&controller);
    if (!controller)
        return 0;

    const std::wstring commonData = CommonDataFolder(true);
    const long status = controller->ops->Init(controller, commonData.c_str(), 5000, 1);
    if (status < 0)
        return status;
    for (const LogChannelSetting& channel : kLogChannels)
        controller->ops->ConfigureChannel(controller, channel.name, channel.number, channel.settings);
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
