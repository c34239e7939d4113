// deskmate_vesko_preview: draws Vesko in her rest pose into a PNG.
//
//   deskmate_vesko_preview OUTPUT.png [face-frame [accessory...]]
// Without accessories named, none is worn; "all" wears every one.
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>

#include "tools/media/ImageWriters.h"
#include "tools/vesko/VeskoPreview.h"
#include "tools/vesko/VeskoRig.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: deskmate_vesko_preview OUTPUT.png [face-frame [accessory...]]\n");
        return 2;
    }
    std::vector<std::unique_ptr<CVeskoModelFile>> files;
    std::string error;
    if (!BuildVeskoModels(files, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    VeskoPreviewScene scene;
    scene.shown = {VeskoNames::TOP, "vesko_clothStandard"};
    // VESKO_CLOTH: the top nodes worn, separated by commas.
    if (const char* cloth = std::getenv("VESKO_CLOTH")) {
        scene.shown = {VeskoNames::TOP};
        std::string list = cloth;
        for (size_t at = 0; at <= list.size();) {
            size_t comma = std::min(list.find(',', at), list.size());
            scene.shown.insert(list.substr(at, comma - at));
            at = comma + 1;
        }
        if (scene.shown.count(VeskoNames::BODY_1))
            scene.hidden.insert(VeskoNames::BODY_0);
    }
    scene.face = argc > 2 ? std::atoi(argv[2]) : 1;
    bool all = argc > 3 && std::string(argv[3]) == "all";
    for (const VeskoRigNode& n : VeskoRigNodes())
        if (n.role == VR_ACCESSORY && !all) {
            bool worn = false;
            for (int i = 3; i < argc; ++i)
                worn |= argv[i] == std::string(n.name);
            if (!worn && std::string(n.parent) != "osageBexla")
                scene.hidden.insert(n.name);
        }
    if (const char* zoom = std::getenv("VESKO_ZOOM")) {
        scene.zoom = float(std::atof(zoom));
        scene.lookY = 85;
    }
    std::vector<VeskoTexture> textures = PaintVeskoTextures();
    VeskoPicture picture = RenderVeskoPreview(files, textures, scene, {0.0f, 0.6f, 1.5708f, 3.14159f}, 320, 560);
    CCanvas canvas(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = &picture.rgb[(size_t(y) * size_t(picture.width) + size_t(x)) * 3];
            canvas.Set(x, y, {p[0], p[1], p[2], 255});
        }
    std::vector<uint8_t> png;
    if (!EncodePng(canvas, false, png, error) || !WriteBytesToFile(argv[1], png)) {
        std::fprintf(stderr, "cannot write %s %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
