#pragma once
// Reading and writing the input method's settings through its configuration component.

#include <string>

struct IConfigureInst;

// The configuration instance, when the component has been loaded and initialised;
// null otherwise. Never loads anything itself.
IConfigureInst* GetConfigureInst();

// Loads and initialises the component (with Init(1)) and links it to the message
// centre when it implements IWinMsgCenterUser. Silent on every failure.
void BringUpConfigComponent();
// Undoes the message-centre link at exit, when the instance is a message-centre user.
void ReleaseConfigComponent();

// On success `out` holds the value (empty when the store gave none); on failure
// `out` is empty and the result is false.
[[nodiscard]] bool ReadConfigString(IConfigureInst* cfg, const std::wstring& key, std::wstring& out);
void WriteConfigString(IConfigureInst* cfg, const std::wstring& key, const std::wstring& text);
