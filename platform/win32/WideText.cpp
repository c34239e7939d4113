#include "platform/win32/WideText.h"

#include <windows.h>

namespace {

std::wstring WideFrom(UINT codePage, const char* text) {
    if (!text || !*text)
        return std::wstring();
    int count = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (count <= 0)
        return std::wstring();
    std::wstring out(size_t(count), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, &out[0], count);
    out.resize(size_t(count - 1));
    return out;
}

} // namespace

std::wstring WideFromUtf8(const char* text) { return WideFrom(CP_UTF8, text); }

std::wstring WideFromCodePage932(const char* text) { return WideFrom(932, text); }
