#pragma once
// The installer's buffer for values handed out by the settings store.

#include <IIMEBuffer.h>

#include <string>
#include <vector>

class CIMEBuffer : public IIMEBuffer {
public:
    long IME_CALL GetData(const unsigned char** data) override;
    long IME_CALL SetStringA(const char* text) override;
    long IME_CALL SetStringW(const wchar_t* text) override;

    // The bytes read as wide text, up to the first terminator.
    std::wstring AsWideText() const;

private:
    void Assign(const void* bytes, std::size_t size);

    std::vector<unsigned char> bytes_;
};
