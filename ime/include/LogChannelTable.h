#pragma once
// The channels of the logging library: the name and number the installer
// configures each under at start-up, and its settings text. The library's
// stand-in starts from the same settings.

#include <cstdint>

struct LogChannelSetting {
    const wchar_t* name;
    uint32_t number;
    const wchar_t* settings;  // "enable:true outlvl:0 path:`...`"
};

// Only the shared channel is on by default; the others stay configured but off.
inline constexpr LogChannelSetting kFileChannel = {
    L"file", 0, L"enable:false path:`%temp%\\Pelvo\\PelvoPinyin\\log\\ime_${T}_${PF}.xlog`"};
inline constexpr LogChannelSetting kPipeChannel = {L"pipe", 3, L"enable:false"};
inline constexpr LogChannelSetting kSharedChannel = {L"sharingmemory", 5, L"enable:true outlvl:0 "};
inline constexpr LogChannelSetting kDebugOutputChannel = {L"debugoutput", 2, L"enable:false"};

// In the order the installer configures them.
inline constexpr LogChannelSetting kLogChannels[] = {kFileChannel, kPipeChannel, kSharedChannel, kDebugOutputChannel};
