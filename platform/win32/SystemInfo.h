#pragma once

// Facts about the machine, for code that must not see Windows types.
int GetPrimaryScreenWidth();
int GetPrimaryScreenHeight();
// True on Windows 95, 98 and Me.
bool IsWindows9xPlatform();
