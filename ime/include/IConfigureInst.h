#pragma once
// The input method's settings store. Keys look like "/Dict/InstalledDict".

#include "IIMEBuffer.h"
#include "ImeCall.h"

struct IConfigureInst {
    virtual long IME_CALL WriteString(const wchar_t* key, const wchar_t* value) = 0;
    // True when the value exists; it is then put into `buffer` with SetStringW.
    virtual bool IME_CALL ReadString(const wchar_t* key, IIMEBuffer* buffer) = 0;

protected:
    ~IConfigureInst() = default;
};
