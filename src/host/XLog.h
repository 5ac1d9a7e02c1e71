#pragma once
// Diagnostic lines through the input method's logging library, when it is present.
// Without the library every call here does nothing.

#include <cstdint>

enum : uint32_t {
    kLogTrace = 0x10,
    kLogInfo = 0x20,
    kLogError = 0x40,
};

inline constexpr const wchar_t* kLogTag = L"lexinst";
inline constexpr const wchar_t* kFuncTag = L"func";

// Wide printf-style format as the platform's wide functions read it: %s takes a
// wide string. The arguments are passed on unformatted.
void XLog(uint32_t level, const wchar_t* tag, const wchar_t* format, ...);

// Loads and configures the logging library; called once at start-up.
long InitLogging();

// Indents the log by `delta` for the lifetime of a traced scope.
class FunctionTrace {
public:
    explicit FunctionTrace(int delta = 1);
    ~FunctionTrace();
    FunctionTrace(const FunctionTrace&) = delete;
    FunctionTrace& operator=(const FunctionTrace&) = delete;

private:
    int delta_;
};
