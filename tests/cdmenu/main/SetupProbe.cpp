// Stands in for the disc's installer and for a registered uninstaller in the
// disc menu's tests: records its command line in "ran.txt" beside itself.
// With the word "uninstall" it takes two seconds, then removes the product's
// uninstall registration, as an uninstaller would.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder = folder.substr(0, folder.find_last_of("\\/") + 1);
    const char* whole = GetCommandLineA();
    if (std::strstr(commandLine, "uninstall")) {
        Sleep(2000);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavelune");
    }
    if (FILE* f = std::fopen((folder + "ran.txt").c_str(), "ab")) {
        std::fprintf(f, "%s\n", whole);
        std::fclose(f);
    }
    return 0;
}
