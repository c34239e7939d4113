#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The disc menu's decisions, apart from the dialog that shows them.

// The command-line buffers: a started program's command line, with its zero.
constexpr size_t COMMAND_LINE_CAPACITY = 260;
// The registered uninstall command is read into this many bytes.
constexpr size_t UNINSTALL_VALUE_CAPACITY = 4096;

// Whether DXINSTALL is offered. Without the set-up library there is nothing
// to install with; a failed version query offers it; otherwise only a
// DirectX older than 8.1 does.
bool DxInstallEnabled(bool libraryLoaded, bool queried, uint32_t version, uint32_t revision);

enum DxSetupOutcome {
    DXO_FAILED,  // negative result: the set-up failed
    DXO_RESTART, // 1: done, Windows must restart
    DXO_DONE,    // anything else: done
};
DxSetupOutcome ClassifyDxSetupResult(int result);

// head + tail as one command line; false (out emptied) when it and its zero
// do not fit in `capacity` bytes, so that nothing is ever cut or overrun.
bool JoinCommandLine(const std::string& head, const std::string& tail, size_t capacity, std::string& out);

// The uninstall value as read: at most capacity - 1 bytes, up to the first
// zero (a value need not carry its own terminator).
std::string UninstallCommandFromValue(const char* bytes, size_t length, size_t capacity);
