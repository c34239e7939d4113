#pragma once

class CCharacter;
class CItem;
class CRenderManager;
class CSoundManager;
class CWorld;
class ISetting;

// The TV-shopping show as the character drives it: she starts it on an item
// and steps it first in each of her updates; while it runs she stands still.
class ITvShow {
public:
    virtual ~ITvShow() = default;
    virtual void Present(CItem* item, CRenderManager* renderManager, CCharacter& character) = 0;
    // True while a show runs; false with none and in the update it ends.
    virtual bool Update(ISetting* setting, CRenderManager* renderManager, CSoundManager* soundManager, CWorld& world,
                        CCharacter& character, bool clicked, float step) = 0;
    virtual bool IsPresenting() const = 0;
    // A window point on the TV while it presents.
    virtual bool HitTest(CRenderManager* renderManager, int x, int y) = 0;
};

// Where the camera hears about the points worth looking at this update.
class IFocusPointSink {
public:
    virtual ~IFocusPointSink() = default;
    virtual void AddFocusPoint(float x, float y, float z, float weight) = 0;
};
