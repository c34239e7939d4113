#pragma once
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tools/vesko/VeskoModels.h"
#include "tools/vesko/VeskoTextures.h"

// A software view of Vesko standing in her rest pose, in room units (the
// root's scale applied), to look at the models without the renderer: panels
// side by side, each an orthographic view from the front turned by its yaw
// (0 from the front, pi/2 from her left), lit from the upper front.
struct VeskoPreviewScene {
    // Top nodes whose trees are drawn.
    std::set<std::string> shown;
    // Nodes whose trees are left out (accessories not worn).
    std::set<std::string> hidden;
    // Face frame to show (1 to 12).
    int face = 1;
    // Magnification and the height (room units) at the panel's middle.
    float zoom = 1;
    float lookY = 50;
};

struct VeskoPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb; // rows top first
};

VeskoPicture RenderVeskoPreview(const std::vector<std::unique_ptr<CVeskoModelFile>>& files,
                                const std::vector<VeskoTexture>& textures, const VeskoPreviewScene& scene,
                                const std::vector<float>& yaws, int panelWidth, int panelHeight);
