#pragma once

struct IDirect3D8;
class CTexture;

// Where the renderer meets the areas that draw through it. The renderer is
// built first; textures, draw lists and the text console register their
// part here when their area starts, and the renderer calls whatever is set
// (nothing when a hook is empty). All process-wide, main thread only.

// Makes the IDirect3D8 interface; null means Direct3DCreate8. Tests put a
// recording stand-in here.
using Direct3DFactory = IDirect3D8* (*)(unsigned sdkVersion);
void SetDirect3DFactory(Direct3DFactory factory);
IDirect3D8* CreateDirect3D(unsigned sdkVersion);

// Creates the plain white texture "dummyTex" in the current registry,
// during the renderer's construction.
using DefaultTextureMaker = void (*)();
void SetDefaultTextureMaker(DefaultTextureMaker maker);
DefaultTextureMaker GetDefaultTextureMaker();

// Binds a texture to a texture stage (CTexture::BindToStage); called by the
// renderer's texture-stage cache when the stage does not already hold it.
using TextureStageBinder = void (*)(CTexture* texture, int stage);
void SetTextureStageBinder(TextureStageBinder binder);
TextureStageBinder GetTextureStageBinder();

// Renders every registered draw list; called once a pass by the frame loop.
using DrawListPass = void (*)();
void SetDrawListPass(DrawListPass pass);
DrawListPass GetDrawListPass();

// The text console drawn over the scene at the end of each pass.
class IConsoleOverlay {
public:
    virtual ~IConsoleOverlay() = default;
    virtual void Draw() = 0;
};
// Builds the console of a console renderer with the given character capacity.
using ConsoleFactory = IConsoleOverlay* (*)(int capacity);
void SetConsoleFactory(ConsoleFactory factory);
ConsoleFactory GetConsoleFactory();
