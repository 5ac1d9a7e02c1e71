#include "host/HostComponents.h"

#include "host/ImeLocations.h"
#include "win/FileSystem.h"
#include "win/UniqueResource.h"

#include <HostComponentExports.h>
#include <IWinMsgCenterUser.h>

#include <new>

namespace {

template <typename Fn>
Fn As(FARPROC proc)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

// Loads a component library and looks up its required entry points into
// `procs`; a library that lacks one of them is released again.
template <std::size_t N>
HMODULE LoadComponent(const wchar_t* fileName, const char* const (&names)[N], FARPROC (&procs)[N])
{
    const std::wstring path = FindHostComponent(fileName);
    if (path.empty())
        return nullptr;
    win::UniqueModule module(::LoadLibraryW(path.c_str()));
    if (!module)
        return nullptr;
    for (std::size_t i = 0; i < N; ++i) {
        procs[i] = ::GetProcAddress(module.Get(), names[i]);
        if (!procs[i])
            return nullptr;
    }
    return module.Release();
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
    if (!ownFolder.empty() && win::PathExists(own))
        return own;
    const std::wstring installed = GetImeInstallDir() + L"\\" + fileName;
    if (win::PathExists(installed))
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
    static const char* const names[] = {"GetConfigureInst", "Init"};
    FARPROC procs[2] = {};
    module_ = LoadComponent(kConfigLibraryName, names, procs);
    if (!module_)
        return false;
    getConfigureInst_ = procs[0];
    init_ = procs[1];
    getClockInst_ = ::GetProcAddress(module_, "GetClockInst");  // may be missing
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
    static const char* const names[] = {"GetWinMsgCenter", "FreeWinMsgCenter", "InitWinMsgCenter"};
    FARPROC procs[3] = {};
    module_ = LoadComponent(kMsgCenterLibraryName, names, procs);
    if (!module_)
        return false;
    getWinMsgCenter_ = procs[0];
    freeWinMsgCenter_ = procs[1];
    initWinMsgCenter_ = procs[2];
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
