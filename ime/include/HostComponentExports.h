#pragma once
// Entry points of the settings store (Setvault.dll) and the message centre (Notehub.dll).

#include "IConfigureInst.h"
#include "ImeCall.h"

struct IClockInst;

// Setvault.dll
using GetConfigureInstFn = IConfigureInst*(IME_CALL*)();
using InitConfigureFn = int(IME_CALL*)(int flags);  // "Init": non-zero on success
using GetClockInstFn = IClockInst*(IME_CALL*)();    // optional

// Notehub.dll
using GetWinMsgCenterFn = void*(IME_CALL*)();
using FreeWinMsgCenterFn = void(IME_CALL*)();
using InitWinMsgCenterFn = int(IME_CALL*)();

inline constexpr const wchar_t* kConfigLibraryName = L"Setvault.dll";
inline constexpr const wchar_t* kMsgCenterLibraryName = L"Notehub.dll";
