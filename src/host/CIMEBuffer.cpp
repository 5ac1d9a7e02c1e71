#include "host/CIMEBuffer.h"

#include <cstring>
#include <cwchar>

long IME_CALL CIMEBuffer::GetData(const unsigned char** data)
{
    if (!data)
        return kImeInvalidArg;
    *data = bytes_.empty() ? nullptr : bytes_.data();
    return kImeOk;
}

long IME_CALL CIMEBuffer::SetStringA(const char* text)
{
    const std::size_t length = text ? std::strlen(text) : 0;
    Assign(text, length == 0 ? 0 : length + 1);
    return kImeOk;
}

long IME_CALL CIMEBuffer::SetStringW(const wchar_t* text)
{
    const std::size_t length = text ? std::wcslen(text) : 0;
    Assign(text, length == 0 ? 0 : (length + 1) * sizeof(wchar_t));
    return kImeOk;
}

std::wstring CIMEBuffer::AsWideText() const
{
    std::wstring text(bytes_.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes_.data(), text.size() * sizeof(wchar_t));
    const std::size_t end = text.find(L'\0');
    if (end != std::wstring::npos)
        text.resize(end);
    return text;
}

void CIMEBuffer::Assign(const void* bytes, std::size_t size)
{
    const auto* first = static_cast<const unsigned char*>(bytes);
    bytes_.assign(first, first + size);
}
