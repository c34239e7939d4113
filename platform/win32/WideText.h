#pragma once
#include <string>

// UTF-8 program text for the wide Windows calls, so that it reads right
// whatever the system's code page. Malformed bytes become U+FFFD.
std::wstring WideFromUtf8(const char* text);
// Code-page-932 program text (the program's own messages) for the wide calls.
std::wstring WideFromCodePage932(const char* text);
