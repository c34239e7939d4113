#include <windows.h>

#include "cdmenu/app/AutorunApp.h"

namespace {
CAutorunApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunWinApp(instance); }
