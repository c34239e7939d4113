#pragma once
#include <cstdint>

// Scan code (DIK_ value) to Win32 virtual-key code, 0 where a key has no
// mapping; virtual key 0 is never down, so unmapped keys always read up.
uint8_t ScanCodeToVirtualKey(int scanCode);
