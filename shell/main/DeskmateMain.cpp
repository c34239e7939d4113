#include <windows.h>

#include "shell/app/MascotApp.h"

namespace {
CMascotApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunWinApp(instance); }
