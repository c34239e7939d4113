#include "engine/drawlist/DrawList.h"

// Kept apart from the lists themselves: the lights and shaders use these
// without queueing anything.
namespace {
ColorRGBA g_billboardColor(0.8f, 0.8f, 0.8f, 0.0f);
ColorRGBA g_materialAmbient(0.8f, 0.8f, 0.8f, 0.0f);
} // namespace

ColorRGBA& BillboardColor() { return g_billboardColor; }
ColorRGBA& MaterialAmbient() { return g_materialAmbient; }
