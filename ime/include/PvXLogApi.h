#pragma once
// Exports of the logging library (pvxlog.dll) and the table of its log controller.

#include "ImeCall.h"

#include <cstdarg>
#include <cstdint>

struct PvLogController;

// The controller is an object whose first member points at this table; every
// operation takes the object first. Only Init (7) and ConfigureChannel (11) are
// used by the installer; the order of the table is fixed.
struct PvLogControllerOps {
    long(IME_CALL* AddRef)(PvLogController* self);                                                          // 0
    long(IME_CALL* Release)(PvLogController* self);                                                         // 1
    long(IME_CALL* Flush)(PvLogController* self);                                                           // 2
    long(IME_CALL* GetFolder)(PvLogController* self, wchar_t* buffer, uint32_t capacity);                   // 3
    long(IME_CALL* SetOutputLevel)(PvLogController* self, uint32_t channel, uint32_t level);                // 4
    long(IME_CALL* GetOutputLevel)(PvLogController* self, uint32_t channel, uint32_t* level);               // 5
    long(IME_CALL* EnableChannel)(PvLogController* self, uint32_t channel, int enable);                     // 6
    long(IME_CALL* Init)(PvLogController* self, const wchar_t* folder, uint32_t maxLines, uint32_t flags);  // 7
    long(IME_CALL* IsChannelEnabled)(PvLogController* self, uint32_t channel);                              // 8
    long(IME_CALL* GetIndent)(PvLogController* self, int32_t* indent);                                      // 9
    long(IME_CALL* ResetIndent)(PvLogController* self);                                                     // 10
    long(IME_CALL* ConfigureChannel)(PvLogController* self, const wchar_t* name, uint32_t number,
                                     const wchar_t* settings);  // 11
};

struct PvLogController {
    const PvLogControllerOps* ops;
};

// Exports, all standard call.
using XLogVFn = long(IME_CALL*)(uint32_t level, const wchar_t* tag, const wchar_t* format, va_list args);
using XLogAddIndentFn = long(IME_CALL*)(int32_t delta);
using GetLogController2Fn = long(IME_CALL*)(PvLogController** controller);
using PvDebugReportFn = long(IME_CALL*)(const wchar_t* text);

inline constexpr const wchar_t* kLogLibraryName = L"pvxlog.dll";
