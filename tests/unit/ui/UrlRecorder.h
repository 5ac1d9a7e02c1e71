#pragma once
// A stand-in browser for the link tests: the test registers this program as
// the handler of http addresses, so that opening the link leaves a trace
// instead of starting a browser.

#include <windows.h>

#include <string>

namespace uitest {

inline constexpr wchar_t kUrlRecordVariable[] = L"LEXINST_UI_URL_RECORD";

// Appends the address to the file named by kUrlRecordVariable.
bool RecordUrl(const std::wstring& url);
// What the stand-in recorded in `file`.
std::wstring ReadRecordedUrls(const std::wstring& file);

// Makes this program the handler of http addresses (per user) while it lives,
// recording into `recordFile`.
class ScopedUrlRecorder {
public:
    explicit ScopedUrlRecorder(const std::wstring& recordFile);
    ~ScopedUrlRecorder();
    ScopedUrlRecorder(const ScopedUrlRecorder&) = delete;
    ScopedUrlRecorder& operator=(const ScopedUrlRecorder&) = delete;
    bool Installed() const { return installed_; }

private:
    bool installed_ = false;
    std::wstring previous_;
    bool hadPrevious_ = false;
};

}  // namespace uitest
