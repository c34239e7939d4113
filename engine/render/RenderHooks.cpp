#include "engine/render/RenderHooks.h"

#include <windows.h>
#include <d3d8.h>

namespace {
Direct3DFactory g_direct3DFactory = nullptr;
DefaultTextureMaker g_defaultTextureMaker = nullptr;
TextureStageBinder g_textureStageBinder = nullptr;
DrawListPass g_drawListPass = nullptr;
ConsoleFactory g_consoleFactory = nullptr;
} // namespace

void SetDirect3DFactory(Direct3DFactory factory) { g_direct3DFactory = factory; }

IDirect3D8* CreateDirect3D(unsigned sdkVersion) {
    return g_direct3DFactory ? g_direct3DFactory(sdkVersion) : Direct3DCreate8(sdkVersion);
}

void SetDefaultTextureMaker(DefaultTextureMaker maker) { g_defaultTextureMaker = maker; }
DefaultTextureMaker GetDefaultTextureMaker() { return g_defaultTextureMaker; }

void SetTextureStageBinder(TextureStageBinder binder) { g_textureStageBinder = binder; }
TextureStageBinder GetTextureStageBinder() { return g_textureStageBinder; }

void SetDrawListPass(DrawListPass pass) { g_drawListPass = pass; }
DrawListPass GetDrawListPass() { return g_drawListPass; }

void SetConsoleFactory(ConsoleFactory factory) { g_consoleFactory = factory; }
ConsoleFactory GetConsoleFactory() { return g_consoleFactory; }
