#pragma once
// The shell association of dictionary files with the installer, under HKEY_CLASSES_ROOT.
// No registry or shell result is tested: a step that fails leaves its key as it was.

// contentType and the other texts may be null where noted.
void RegisterFileType(const wchar_t* extension, const wchar_t* programPath, const wchar_t* className,
                      const wchar_t* contentType /* or null */, const wchar_t* iconText, const wchar_t* description,
                      const wchar_t* verbText, bool setEditFlags);
void UnregisterFileType(const wchar_t* extension, const wchar_t* className, const wchar_t* contentType /* or null */);
// ".pvdict" opened by this program.
void RegisterDictFileType();

inline constexpr const wchar_t* kDictExtension = L".pvdict";
inline constexpr const wchar_t* kDictClassName = L"PelvoImeDictFile";
inline constexpr const wchar_t* kDictContentType = L"application/PelvoImeDict";
inline constexpr const wchar_t* kLegacyExtension = L".pcd";
inline constexpr const wchar_t* kLegacyClassName = L"PvImeFile";
