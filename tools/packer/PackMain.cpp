// deskmate_pack: builds the data archives and their compiled directory.
//
//   deskmate_pack --data-dir DIR --source FILE.cpp [--manifest FILE]... [--placeholder]
#include <cstdio>
#include <string>

#include "tools/packer/Manifest.h"

namespace {
int Usage() {
    std::fprintf(stderr,
                 "usage: deskmate_pack --data-dir DIR --source FILE.cpp [--manifest FILE]... [--placeholder]\n");
    return 2;
}
} // namespace

int main(int argc, char** argv) {
    std::string dataFolder, source, error;
    ArchiveInputs inputs = EmptyArchiveInputs();
    bool placeholder = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--data-dir" && hasValue) {
            dataFolder = argv[++i];
        } else if (arg == "--source" && hasValue) {
            source = argv[++i];
        } else if (arg == "--manifest" && hasValue) {
            if (!ReadManifest(argv[++i], inputs, error)) {
                std::fprintf(stderr, "deskmate_pack: %s\n", error.c_str());
                return 1;
            }
        } else if (arg == "--placeholder") {
            placeholder = true;
        } else {
            return Usage();
        }
    }
    if (dataFolder.empty() || source.empty())
        return Usage();
    if (placeholder)
        AddPlaceholderEntries(inputs);
    if (!PackAllArchives(inputs, dataFolder, source, error)) {
        std::fprintf(stderr, "deskmate_pack: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
