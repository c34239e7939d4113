// The launch settings reader on any file; what it accepts is written back
// and must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/settings/LaunchConfig.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = ScratchFile("tavelune.cfg");
    if (!WriteScratch(path, data, size))
        return 0;
    CLaunchConfig config;
    config.fileName = path.c_str();
    if (LoadLaunchConfig(config)) {
        if (!SaveLaunchConfig(config))
            std::abort();
        CLaunchConfig again;
        again.fileName = path.c_str();
        if (!LoadLaunchConfig(again))
            std::abort();
        for (int i = 0; i < LC_COUNT; ++i)
            if (again.values[i] != config.values[i])
                std::abort();
    }
    std::remove(path.c_str());
    return 0;
}
