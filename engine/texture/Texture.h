#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/anim/ChangeStamp.h"
#include "engine/anim/Channel.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/math/Matrix.h"
#include "engine/resource/Resource.h"

class CTextureFrame;

// A texture resource: the device textures of its frames (one, or a numbered
// flip-book), its sampler settings and six animatable channels, the frame
// number and a texture-coordinate transform. Shaders bind it to a stage
// through the renderer's stage cache; binding picks the frame from the frame
// channel and uploads the coordinate matrix to c91-c93. The frames are owned
// and released on device loss; this base loads none itself.
class CTexture : public CResource, public CChangeStamp {
public:
    enum ChannelSlot {
        TXC_FRAME = 0,
        TXC_OFFSET_U,
        TXC_OFFSET_V,
        TXC_ROTATION,
        TXC_SCALE_U,
        TXC_SCALE_V,
        TXC_COUNT,
    };
    // The first of the three vertex shader constants of the coordinate matrix.
    static constexpr int COORDINATE_MATRIX_REGISTER = 91;

    CTexture(const char* name, int magFilter, int minFilter, int mipFilter, int addressU, int addressV, int mipLevels,
             bool animated);
    ~CTexture() override;

    CHandle GetChannel(int attribute) override;
    // Releases and forgets every frame.
    void ReleaseDeviceObjects() override;

    // Sampler states, the current frame and the coordinate matrix to the stage.
    void BindToStage(int stage);
    // Rebuilt first when a channel changed since the last build.
    const CMatrix& GetCoordinateMatrix();
    bool IsTranslucent() const { return m_translucent; }
    bool IsAnimated() const { return m_animated; }

    // The frame the frame channel selects: its value truncated, minus 1,
    // clamped to the frames; -1 when there are none.
    int GetFrameIndex() const;
    int GetFrameCount() const { return (int)m_frames.size(); }
    CTextureFrame* GetFrame(int index) const;
    // Takes ownership; the translucency follows the first frame.
    void AppendFrame(CTextureFrame* frame);

    float GetChannelValue(int slot) const { return m_channels[slot].m_value; }
    // A direct write, touching the change stamp like an animator write.
    void SetChannelValue(int slot, float value);

    int GetMagFilter() const { return m_magFilter; }
    int GetMinFilter() const { return m_minFilter; }
    int GetMipFilter() const { return m_mipFilter; }
    int GetAddressU() const { return m_addressU; }
    int GetAddressV() const { return m_addressV; }
    int GetMipLevels() const { return m_mipLevels; }

protected:
    // From the first frame's format; a texture without frames is opaque.
    void UpdateTranslucency();

private:
    std::vector<CTextureFrame*> m_frames;
    int m_magFilter;
    int m_minFilter;
    int m_mipFilter;
    int m_addressU;
    int m_addressV;
    int m_mipLevels;
    bool m_translucent;
    bool m_animated;
    CChannel m_channels[TXC_COUNT];
    int32_t m_matrixStamp;
    CMatrix m_coordinateMatrix;
};

// A texture whose frames are image files of the texture archives, loaded at
// construction and again after every device reset. An animated texture
// "x.tga" reads "x.1.tga", "x.2.tga" ... up to the first that is missing or
// does not decode.
class CFileTexture : public CTexture {
public:
    CFileTexture(const char* name, const char* fileName, int magFilter, int minFilter, int mipFilter, int addressU,
                 int addressV, int mipLevels, bool animated);

    void RestoreDeviceObjects() override;

    const std::string& GetFileName() const { return m_fileName; }

private:
    // Appends the frame of one file; false when it is missing or does not decode.
    bool LoadFrame(const std::string& path);

    std::string m_fileName;
};

// The name of frame n of an animated texture: "water.tga" gives "water.1.tga".
std::string AnimatedFrameName(const std::string& fileName, int number);
