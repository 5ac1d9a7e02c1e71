#include "LogChannels.h"

#include <windows.h>

#include <cwchar>

namespace {

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

bool ParseLevel(const std::wstring& text, uint32_t& level)
{
    if (text.empty())
        return false;
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(text.c_str(), &end, 0);
    if (*end != L'\0')
        return false;
    level = static_cast<uint32_t>(value);
    return true;
}

}  // namespace

ChannelSettings ParseChannelSettings(const std::wstring& text, const ChannelSettings& current)
{
    ChannelSettings settings = current;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == L' ') {
            ++at;
            continue;
        }
        const std::size_t colon = text.find(L':', at);
        const std::size_t space = text.find(L' ', at);
        if (colon == std::wstring::npos || (space != std::wstring::npos && space < colon)) {
            at = space == std::wstring::npos ? text.size() : space;
            continue;
        }
        const std::wstring name = text.substr(at, colon - at);
        std::wstring value;
        std::size_t next;
        if (colon + 1 < text.size() && text[colon + 1] == L'`') {
            const std::size_t close = text.find(L'`', colon + 2);
            const std::size_t stop = close == std::wstring::npos ? text.size() : close;
            value = text.substr(colon + 2, stop - colon - 2);
            next = close == std::wstring::npos ? text.size() : close + 1;
        } else {
            const std::size_t stop = text.find(L' ', colon + 1);
            value = text.substr(colon + 1, (stop == std::wstring::npos ? text.size() : stop) - colon - 1);
            next = stop == std::wstring::npos ? text.size() : stop;
        }
        if (name == L"enable" && (value == L"true" || value == L"false"))
            settings.enable = value == L"true";
        else if (name == L"outlvl")
            ParseLevel(value, settings.outputLevel);
        else if (name == L"path")
            settings.path = value;
        at = next;
    }
    return settings;
}

std::wstring ExpandLogPath(const std::wstring& path, const std::wstring& date, const std::wstring& processFile)
{
    std::wstring text = path;
    ReplaceAll(text, L"${T}", date);
    ReplaceAll(text, L"${PF}", processFile);
    const DWORD units = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (units == 0)
        return text;
    std::wstring expanded(units, L'\0');
    const DWORD written = ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), units);
    if (written == 0 || written > units)
        return text;
    expanded.resize(written - 1);
    return expanded;
}

std::string FormatLogLine(const std::wstring& time, unsigned long pid, uint32_t level, const std::wstring& tag,
                          int indent, const std::wstring& message)
{
    wchar_t levelText[16] = {};
    ::_snwprintf(levelText, 15, L"0x%02x", static_cast<unsigned>(level));
    std::wstring line = time + L"\t" + std::to_wstring(pid) + L"\t" + levelText + L"\t" + tag + L"\t";
    line.append(static_cast<std::size_t>(indent > 0 ? indent : 0) * 2, L' ');
    // A message with line breaks would break the one-line-per-call format.
    for (wchar_t c : message)
        line += (c == L'\r' || c == L'\n') ? L' ' : c;
    line += L"\r\n";
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr,
                              nullptr);
    return utf8;
}
