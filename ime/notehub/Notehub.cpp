// Message centre of the input method: one process-wide object that components
// are linked to. The installer only passes it on; nothing is sent through it here.

#include <HostComponentExports.h>
#include <windows.h>

#include <atomic>

namespace {

struct WinMsgCenter {
    std::atomic<long> initCount{0};
};

std::atomic<bool> released{false};

WinMsgCenter& Center()
{
    static WinMsgCenter center;
    return center;
}

}  // namespace

extern "C" {

void* IME_CALL GetWinMsgCenter() { return released.load() ? nullptr : &Center(); }

void IME_CALL FreeWinMsgCenter() { released.store(true); }

int IME_CALL InitWinMsgCenter()
{
    released.store(false);
    return static_cast<int>(++Center().initCount);
}

}  // extern "C"
