#pragma once
// A byte buffer owned by the caller, filled by a component.

#include "ImeCall.h"

inline constexpr long kImeOk = 0;
inline constexpr long kImeInvalidArg = static_cast<long>(0x80070057L);

struct IIMEBuffer {
    virtual ~IIMEBuffer() = default;
    // Points *data at the buffer's bytes (null when empty); kImeInvalidArg for a null data.
    virtual long IME_CALL GetData(const unsigned char** data) = 0;
    // Each stores a copy of the text with its terminator; an empty text clears the buffer.
    virtual long IME_CALL SetStringA(const char* text) = 0;
    virtual long IME_CALL SetStringW(const wchar_t* text) = 0;
};
