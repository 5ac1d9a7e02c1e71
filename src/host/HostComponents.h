#pragma once
// Process-wide loaders of the input method's two host components: the settings
// store and the message centre. Each is created on first use, guards its own
// loading with a lock, and keeps its library loaded until the process ends.

#include "win/Module.h"

#include <HostComponentExports.h>

#include <mutex>
#include <string>

// Where a component library is looked for: beside the installer's own module,
// then in the input method's installation folder. Empty when neither holds it.
std::wstring FindHostComponent(const wchar_t* fileName);

class ConfigComponent {
public:
    static ConfigComponent* Get();  // created on first use; null only if that fails

    // Loads the library once and calls its Init(flags); true when the library is
    // loaded and Init returned non-zero.
    bool LoadAndInit(int flags);
    IConfigureInst* Instance();  // null until loaded and initialised

private:
    bool LoadLocked();

    std::mutex lock_;
    win::ResidentModule module_;
    GetConfigureInstFn getConfigureInst_ = nullptr;
    InitConfigureFn init_ = nullptr;
    bool initialised_ = false;
};

class MsgCenterComponent {
public:
    static MsgCenterComponent* Get();

    // Loads the library once and calls InitWinMsgCenter (its result is ignored);
    // false when the library cannot be loaded.
    bool BringUp();
    void* Instance();  // the message centre, or null

private:
    bool LoadLocked();

    std::mutex lock_;
    win::ResidentModule module_;
    GetWinMsgCenterFn getWinMsgCenter_ = nullptr;
    InitWinMsgCenterFn initWinMsgCenter_ = nullptr;
};
