#include "platform/win32/WideText.h"

#include <windows.h>

std::wstring WideFromUtf8(const char* text) {
    if (!text || !*text)
        return std::wstring();
    int count = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (count <= 0)
        return std::wstring();
    std::wstring out(size_t(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &out[0], count);
    out.resize(size_t(count - 1));
    return out;
}
