#pragma once
// A component that talks to the input method's message centre.

#include "ImeCall.h"

struct IWinMsgCenterUser {
    // The centre this user is linked to, or null.
    virtual void* IME_CALL GetMsgCenter() = 0;
    virtual long IME_CALL SetMsgCenter(void* msgCenter) = 0;
    virtual long IME_CALL ReleaseMsgCenter() = 0;

protected:
    ~IWinMsgCenterUser() = default;
};
