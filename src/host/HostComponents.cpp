#include "host/HostComponents.h"

#include "host/ImeLocations.h"

#include <HostComponentExports.h>
#include <IWinMsgCenterUser.h>
#include <shlwapi.h>

#include <new>

namespace {

bool FileExists(const std::wstring& path)
{
    return !path.empty() && ::PathFileExistsW(path.c_str());
}

template <typename Fn>
Fn As(FARPROC proc)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

}  // namespace

std::wstring FindHostComponent(const wchar_t* fileName)
{
    wchar_t modulePath[kPathUnits] = {};
    GetCurrentModulePath(modulePath, kPathUnits);
    std::wstring ownFolder = modulePath;
    const std::size_t slash = ownFolder.rfind(L'\\');
    ownFolder.resize(slash == std::wstring::npos ? 0 : slash);

    const std::wstring own = ownFolder + L"\\" + fileName;
    if (!ownFolder.empty() && FileExists(own))
        return own;
    const std::wstring installed = GetImeInstallDir() + L"\\" + fileName;
    if (FileExists(installed))
        return installed;
    return {};
}

ConfigComponent* ConfigComponent::Get()
{
    // Never destroyed: the library stays loaded until the process ends, and
    // teardown may still ask for the instance.
    static ConfigComponent* const instance = new (std::nothrow) ConfigComponent();
    return instance;
}

bool ConfigComponent::LoadLocked()
{
    if (module_)
        return true;
    const std::wstring path = FindHostComponent(kConfigLibraryName);
    if (path.empty())
        return false;
    HMODULE module = ::LoadLibraryW(path.c_str());
    if (!module)
        return false;
    FARPROC getConfigureInst = ::GetProcAddress(module, "GetConfigureInst");
    FARPROC init = ::GetProcAddress(module, "Init");
    if (!getConfigureInst || !init) {
        ::FreeLibrary(module);
        return false;
    }
    module_ = module;
    getConfigureInst_ = getConfigureInst;
    init_ = init;
    getClockInst_ = ::GetProcAddress(module, "GetClockInst");
    return true;
}

bool ConfigComponent::LoadAndInit(int flags)
{
    InitConfigureFn init = nullptr;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!LoadLocked())
            return false;
        init = As<InitConfigureFn>(init_);
    }
    const bool ok = init(flags) != 0;
    std::lock_guard<std::mutex> hold(lock_);
    initialised_ = initialised_ || ok;
    return ok;
}

IConfigureInst* ConfigComponent::Instance()
{
    GetConfigureInstFn getConfigureInst = nullptr;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (initialised_)
            getConfigureInst = As<GetConfigureInstFn>(getConfigureInst_);
    }
    return getConfigureInst ? getConfigureInst() : nullptr;
}

MsgCenterComponent* MsgCenterComponent::Get()
{
    static MsgCenterComponent* const instance = new (std::nothrow) MsgCenterComponent();
    return instance;
}

bool MsgCenterComponent::LoadLocked()
{
    if (module_)
        return true;
    const std::wstring path = FindHostComponent(kMsgCenterLibraryName);
    if (path.empty())
        return false;
    HMODULE module = ::LoadLibraryW(path.c_str());
    if (!module)
        return false;
    FARPROC getWinMsgCenter = ::GetProcAddress(module, "GetWinMsgCenter");
    FARPROC freeWinMsgCenter = ::GetProcAddress(module, "FreeWinMsgCenter");
    FARPROC initWinMsgCenter = ::GetProcAddress(module, "InitWinMsgCenter");
    if (!getWinMsgCenter || !freeWinMsgCenter || !initWinMsgCenter) {
        ::FreeLibrary(module);
        return false;
    }
    module_ = module;
    getWinMsgCenter_ = getWinMsgCenter;
    freeWinMsgCenter_ = freeWinMsgCenter;
    initWinMsgCenter_ = initWinMsgCenter;
    return true;
}

bool MsgCenterComponent::BringUp()
{
    InitWinMsgCenterFn initWinMsgCenter = nullptr;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!LoadLocked())
            return false;
        initWinMsgCenter = As<InitWinMsgCenterFn>(initWinMsgCenter_);
    }
    initWinMsgCenter();
    return true;
}

void* MsgCenterComponent::Instance()
{
    GetWinMsgCenterFn getWinMsgCenter = nullptr;
    {
        std::lock_guard<std::mutex> hold(lock_);
        getWinMsgCenter = As<GetWinMsgCenterFn>(getWinMsgCenter_);
    }
    return getWinMsgCenter ? getWinMsgCenter() : nullptr;
}
