#include "host/HostComponents.h"

#include "host/ImeLocations.h"
#include "win/FileSystem.h"
#include "win/Path.h"

#include <new>

namespace {

// The component library found where FindHostComponent looks, loaded; invalid
// when it is nowhere or cannot be loaded.
win::UniqueModule LoadComponent(const wchar_t* fileName)
{
    const std::wstring path = FindHostComponent(fileName);
    return path.empty() ? win::UniqueModule() : win::LoadModule(path);
}

}  // namespace

std::wstring FindHostComponent(const wchar_t* fileName)
{
    const std::wstring ownFolder = win::ParentFolder(win::OwnModulePath());
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
    // A library that lacks an entry point is freed again when `module` goes.
    win::UniqueModule module = LoadComponent(kConfigLibraryName);
    const auto getConfigureInst = win::Export<GetConfigureInstFn>(module.Get(), "GetConfigureInst");
    const auto init = win::Export<InitConfigureFn>(module.Get(), "Init");
    if (!getConfigureInst || !init)
        return false;
    module_ = win::ResidentModule(std::move(module));
    getConfigureInst_ = getConfigureInst;
    init_ = init;
    return true;
}

bool ConfigComponent::LoadAndInit(int flags)
{
    InitConfigureFn init = nullptr;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!LoadLocked())
            return false;
        init = init_;
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
            getConfigureInst = getConfigureInst_;
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
    win::UniqueModule module = LoadComponent(kMsgCenterLibraryName);
    const auto getWinMsgCenter = win::Export<GetWinMsgCenterFn>(module.Get(), "GetWinMsgCenter");
    const auto freeWinMsgCenter = win::Export<FreeWinMsgCenterFn>(module.Get(), "FreeWinMsgCenter");
    const auto initWinMsgCenter = win::Export<InitWinMsgCenterFn>(module.Get(), "InitWinMsgCenter");
    // FreeWinMsgCenter is never called, but a library without it is not the message centre.
    if (!getWinMsgCenter || !freeWinMsgCenter || !initWinMsgCenter)
        return false;
    module_ = win::ResidentModule(std::move(module));
    getWinMsgCenter_ = getWinMsgCenter;
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
        initWinMsgCenter = initWinMsgCenter_;
    }
    initWinMsgCenter();
    return true;
}

void* MsgCenterComponent::Instance()
{
    GetWinMsgCenterFn getWinMsgCenter = nullptr;
    {
        std::lock_guard<std::mutex> hold(lock_);
        getWinMsgCenter = getWinMsgCenter_;
    }
    return getWinMsgCenter ? getWinMsgCenter() : nullptr;
}
