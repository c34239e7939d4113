// Until the disc menu lands: says so and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "The disc menu is not built yet.", "autorun", MB_OK);
    return 0;
}
