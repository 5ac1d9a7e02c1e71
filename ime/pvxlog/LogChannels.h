#pragma once
// The channels of the logging stand-in and the settings text that configures them.

#include <cstdint>
#include <string>

struct ChannelSettings {
    bool enable = false;
    uint32_t outputLevel = 0;  // lines below this level are not written
    std::wstring path;         // the "file" channel's path, as given
};

// Reads "enable:true outlvl:0 path:`...`": space-separated name:value pairs, a
// value in back-quotes may hold spaces. Unknown names are ignored; a pair that
// is not understood leaves its setting as it was.
ChannelSettings ParseChannelSettings(const std::wstring& text, const ChannelSettings& current);

// Expands the "file" channel's path: the back-quotes are dropped, environment
// references expanded, ${T} becomes yyyymmdd and ${PF} the process file name.
std::wstring ExpandLogPath(const std::wstring& path, const std::wstring& date, const std::wstring& processFile);

// One line of the log, UTF-8 and CRLF-terminated:
// "yyyy-mm-dd hh:mm:ss.mmm<TAB>pid<TAB>0xLL<TAB>tag<TAB><indent * 2 spaces>message".
std::string FormatLogLine(const std::wstring& time, unsigned long pid, uint32_t level, const std::wstring& tag,
                          int indent, const std::wstring& message);
