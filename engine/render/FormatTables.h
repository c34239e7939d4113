#pragma once
#include <windows.h>
#include <d3d8.h>

// The two tables that drive the device set-up: the adapter formats in the
// order tried, each with its depth group, and the depth formats of each
// group in the order tried. Names are those written to "init.log".
struct AdapterFormatEntry {
    D3DFORMAT format;
    const char* name;
    int depthGroup; // -1 on the end entry
};

struct DepthFormatEntry {
    D3DFORMAT format;
    const char* name;
};

constexpr int ADAPTER_FORMAT_COUNT = 8; // the last is the end entry D3DFMT_UNKNOWN
constexpr int DEPTH_GROUP_COUNT = 3;
constexpr int DEPTH_FORMATS_PER_GROUP = 4;

extern const AdapterFormatEntry ADAPTER_FORMATS[ADAPTER_FORMAT_COUNT];
extern const DepthFormatEntry DEPTH_FORMATS[DEPTH_GROUP_COUNT][DEPTH_FORMATS_PER_GROUP];

// The depth group of an adapter format, or -1 for a format outside the table.
int FindDepthGroup(D3DFORMAT format);
