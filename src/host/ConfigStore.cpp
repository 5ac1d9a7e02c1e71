#include "host/ConfigStore.h"

#include "host/CIMEBuffer.h"
#include "host/HostComponents.h"

#include <IConfigureInst.h>
#include <IWinMsgCenterUser.h>

namespace {

// The settings instance also serves the message centre when it says so through
// its run-time type.
IWinMsgCenterUser* AsMsgCenterUser(IConfigureInst* cfg)
{
    return cfg ? dynamic_cast<IWinMsgCenterUser*>(cfg) : nullptr;
}

}  // namespace

IConfigureInst* GetConfigureInst()
{
    ConfigComponent* component = ConfigComponent::Get();
    return component ? component->Instance() : nullptr;
}

void BringUpConfigComponent()
{
    ConfigComponent* component = ConfigComponent::Get();
    if (!component || !component->LoadAndInit(1))
        return;
    IWinMsgCenterUser* user = AsMsgCenterUser(component->Instance());
    if (!user)
        return;
    MsgCenterComponent* msgCenter = MsgCenterComponent::Get();
    if (!msgCenter)
        return;
    msgCenter->BringUp();
    if (void* center = msgCenter->Instance())
        user->SetMsgCenter(center);
}

void ReleaseConfigComponent()
{
    if (IWinMsgCenterUser* user = AsMsgCenterUser(GetConfigureInst()))
        user->ReleaseMsgCenter();
}

bool ReadConfigString(IConfigureInst* cfg, const std::wstring& key, std::wstring& out)
{
    out.clear();
    if (!cfg)
        return false;
    CIMEBuffer buffer;
    if (!cfg->ReadString(key.c_str(), &buffer))
        return false;
    out = buffer.AsWideText();
    return true;
}

void WriteConfigString(IConfigureInst* cfg, const std::wstring& key, const std::wstring& text)
{
    if (cfg)
        cfg->WriteString(key.c_str(), text.c_str());
}
