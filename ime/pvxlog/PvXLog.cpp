// Logging library of the input method. Lines go to channels configured through
// the log controller; the "sharingmemory" channel is one text file shared by
// every process, <folder of Init>\log\xlog.txt, appended under a named mutex.

#include "LogChannels.h"
#include "OwnedHandle.h"
#include "WideFormat.h"

#include <LogChannelTable.h>
#include <PvXLogApi.h>
#include <shlobj.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <string>

namespace {

constexpr long kOk = 0;
constexpr long kInvalidArg = static_cast<long>(0x80070057L);
constexpr long kNotFound = static_cast<long>(0x80070490L);
constexpr DWORD kAppendWaitMs = 10000;
// Serialises the appends of all processes to the shared files.
constexpr const wchar_t* kAppendMutexName = L"PvXLog.SharedLogAppend";

struct Channel {
    uint32_t number = 0;
    ChannelSettings settings;
};

thread_local int indentLevel = 0;

class LogState {
public:
    // The channels start as the installer configures them.
    LogState()
    {
        for (const LogChannelSetting& channel : kLogChannels)
            channels_[channel.name] = {channel.number, ParseChannelSettings(channel.settings, {})};
    }

    long Init(const wchar_t* folder)
    {
        if (!folder || folder[0] == L'\0')
            return kInvalidArg;
        std::wstring logFolder = folder;
        if (logFolder.back() != L'\\')
            logFolder += L'\\';
        logFolder += L"log";
        ::SHCreateDirectoryExW(nullptr, logFolder.c_str(), nullptr);
        std::lock_guard<std::mutex> hold(lock_);
        folder_ = folder;
        sharedFile_ = logFolder + L"\\xlog.txt";
        return kOk;
    }

    long Configure(const wchar_t* name, uint32_t number, const wchar_t* settings)
    {
        if (!name)
            return kInvalidArg;
        std::lock_guard<std::mutex> hold(lock_);
        Channel& channel = channels_[name];
        channel.number = number;
        channel.settings = ParseChannelSettings(settings ? settings : L"", channel.settings);
        return kOk;
    }

    Channel* FindByNumber(uint32_t number)
    {
        for (auto& [name, channel] : channels_) {
            if (channel.number == number)
                return &channel;
        }
        return nullptr;
    }

    long SetEnabled(uint32_t number, bool enable)
    {
        std::lock_guard<std::mutex> hold(lock_);
        Channel* channel = FindByNumber(number);
        if (!channel)
            return kNotFound;
        channel->settings.enable = enable;
        return kOk;
    }

    long IsEnabled(uint32_t number)
    {
        std::lock_guard<std::mutex> hold(lock_);
        Channel* channel = FindByNumber(number);
        return channel && channel->settings.enable ? 1 : 0;
    }

    long SetLevel(uint32_t number, uint32_t level)
    {
        std::lock_guard<std::mutex> hold(lock_);
        Channel* channel = FindByNumber(number);
        if (!channel)
            return kNotFound;
        channel->settings.outputLevel = level;
        return kOk;
    }

    long GetLevel(uint32_t number, uint32_t* level)
    {
        if (!level)
            return kInvalidArg;
        std::lock_guard<std::mutex> hold(lock_);
        Channel* channel = FindByNumber(number);
        if (!channel)
            return kNotFound;
        *level = channel->settings.outputLevel;
        return kOk;
    }

    long CopyFolder(wchar_t* buffer, uint32_t capacity)
    {
        if (!buffer || capacity == 0)
            return kInvalidArg;
        std::lock_guard<std::mutex> hold(lock_);
        const std::size_t count = folder_.size() < capacity - 1 ? folder_.size() : capacity - 1;
        folder_.copy(buffer, count);
        buffer[count] = L'\0';
        return kOk;
    }

    void Write(uint32_t level, const wchar_t* tag, const std::wstring& message)
    {
        std::wstring shared;
        std::wstring file;
        {
            std::lock_guard<std::mutex> hold(lock_);
            const ChannelSettings& sharing = channels_[kSharedChannel.name].settings;
            if (sharing.enable && level >= sharing.outputLevel)
                shared = sharedFile_;
            const ChannelSettings& fileChannel = channels_[kFileChannel.name].settings;
            if (fileChannel.enable && level >= fileChannel.outputLevel && !fileChannel.path.empty())
                file = fileChannel.path;
        }
        if (shared.empty() && file.empty())
            return;
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        const std::wstring time = ime::FormatWide(L"%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth,
                                                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
        const std::string line =
            FormatLogLine(time, ::GetCurrentProcessId(), level, tag ? tag : L"", indentLevel, message);
        if (!shared.empty())
            Append(shared, line);
        if (!file.empty()) {
            const std::wstring date = ime::FormatWide(L"%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
            const std::wstring path = ExpandLogPath(file, date, ProcessFileName());
            const std::size_t slash = path.rfind(L'\\');
            if (slash != std::wstring::npos)
                ::SHCreateDirectoryExW(nullptr, path.substr(0, slash).c_str(), nullptr);
            Append(path, line);
        }
    }

private:
    static std::wstring ProcessFileName()
    {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        const wchar_t* name = std::wcsrchr(path, L'\\');
        return name ? name + 1 : path;
    }

    // The append mutex, opened at the first line and kept for the life of the
    // process: opening a named object costs a round trip to the kernel per line.
    // A failed open is retried at the next line.
    static HANDLE AppendMutex()
    {
        static std::mutex opening;
        static ime::OwnedHandle mutex;
        std::lock_guard<std::mutex> hold(opening);
        if (!mutex)
            mutex.Reset(::CreateMutexW(nullptr, FALSE, kAppendMutexName));
        return mutex.Get();
    }

    // Opened for appending only, so every write lands at the current end of the
    // file even when another process wrote since; the mutex keeps whole lines apart.
    // The file itself is opened per line, so that it can be moved or deleted
    // between lines like any other file.
    static void Append(const std::wstring& path, const std::string& line)
    {
        const HANDLE mutex = AppendMutex();
        const DWORD waited = mutex ? ::WaitForSingleObject(mutex, kAppendWaitMs) : WAIT_FAILED;
        const bool owned = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        {
            ime::OwnedFile file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file) {
                DWORD written = 0;
                ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            }
        }
        if (owned)
            ::ReleaseMutex(mutex);
    }

    std::mutex lock_;
    std::wstring folder_;
    std::wstring sharedFile_;
    std::map<std::wstring, Channel> channels_;
};

LogState& State()
{
    static LogState state;
    return state;
}

// The controller's operations; the object is static and counts no references.
long IME_CALL ControllerAddRef(PvLogController*) { return 1; }
long IME_CALL ControllerRelease(PvLogController*) { return 1; }
long IME_CALL ControllerFlush(PvLogController*) { return kOk; }  // every line is written at once
long IME_CALL ControllerGetFolder(PvLogController*, wchar_t* buffer, uint32_t capacity)
{
    return State().CopyFolder(buffer, capacity);
}
long IME_CALL ControllerSetOutputLevel(PvLogController*, uint32_t channel, uint32_t level)
{
    return State().SetLevel(channel, level);
}
long IME_CALL ControllerGetOutputLevel(PvLogController*, uint32_t channel, uint32_t* level)
{
    return State().GetLevel(channel, level);
}
long IME_CALL ControllerEnableChannel(PvLogController*, uint32_t channel, int enable)
{
    return State().SetEnabled(channel, enable != 0);
}
// maxLines and flags are accepted for the caller's sake; this store keeps every line.
long IME_CALL ControllerInit(PvLogController*, const wchar_t* folder, uint32_t /*maxLines*/, uint32_t /*flags*/)
{
    return State().Init(folder);
}
long IME_CALL ControllerIsChannelEnabled(PvLogController*, uint32_t channel) { return State().IsEnabled(channel); }
long IME_CALL ControllerGetIndent(PvLogController*, int32_t* indent)
{
    if (!indent)
        return kInvalidArg;
    *indent = indentLevel;
    return kOk;
}
long IME_CALL ControllerResetIndent(PvLogController*)
{
    indentLevel = 0;
    return kOk;
}
long IME_CALL ControllerConfigureChannel(PvLogController*, const wchar_t* name, uint32_t number,
                                         const wchar_t* settings)
{
    return State().Configure(name, number, settings);
}

const PvLogControllerOps kControllerOps = {
    ControllerAddRef,           ControllerRelease,        ControllerFlush,         ControllerGetFolder,
    ControllerSetOutputLevel,   ControllerGetOutputLevel, ControllerEnableChannel, ControllerInit,
    ControllerIsChannelEnabled, ControllerGetIndent,      ControllerResetIndent,   ControllerConfigureChannel,
};

PvLogController theController = {&kControllerOps};

}  // namespace

extern "C" {

long IME_CALL XLogV(uint32_t level, const wchar_t* tag, const wchar_t* format, va_list args)
{
    if (!format)
        return kInvalidArg;
    State().Write(level, tag, ime::FormatWideV(format, args));
    return kOk;
}

long IME_CALL XLogAddIndent(int32_t delta)
{
    indentLevel += delta;
    if (indentLevel < 0)
        indentLevel = 0;
    return kOk;
}

long IME_CALL GetLogController2(PvLogController** controller)
{
    if (!controller)
        return kInvalidArg;
    *controller = &theController;
    return kOk;
}

long IME_CALL PvDebugReport(const wchar_t* text)
{
    ::OutputDebugStringW(text ? text : L"");
    return kOk;
}

}  // extern "C"
