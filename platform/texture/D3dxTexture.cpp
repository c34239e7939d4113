#include "platform/texture/D3dxTexture.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/image/ImageDecoders.h"
#include "platform/image/ImageResample.h"
#include "platform/image/TextureLayout.h"

namespace {

bool IsSupportedFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_R5G6B5: return true;
    default: return false;
    }
}

// The first format of the list that the device can sample from.
D3DFORMAT ChooseFormat(IDirect3DDevice8* device, const D3DFORMAT* candidates, int count, DWORD usage) {
    IDirect3D8* d3d = nullptr;
    D3DDEVICE_CREATION_PARAMETERS params;
    D3DDISPLAYMODE mode;
    if (FAILED(device->GetDirect3D(&d3d)) || !d3d)
        return candidates[0];
    D3DFORMAT chosen = candidates[0];
    if (SUCCEEDED(device->GetCreationParameters(&params)) && SUCCEEDED(device->GetDisplayMode(&mode))) {
        for (int i = 0; i < count; ++i) {
            if (SUCCEEDED(d3d->CheckDeviceFormat(params.AdapterOrdinal, params.DeviceType, mode.Format, usage,
                                                 D3DRTYPE_TEXTURE, candidates[i]))) {
                chosen = candidates[i];
                break;
            }
        }
    }
    d3d->Release();
    return chosen;
}

void WriteRow(const uint8_t* src, int width, D3DFORMAT format, uint8_t* dst) {
    for (int x = 0; x < width; ++x, src += 4) {
        uint32_t b = src[0], g = src[1], r = src[2], a = src[3];
        uint16_t v;
        switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
            dst[0] = (uint8_t)b, dst[1] = (uint8_t)g, dst[2] = (uint8_t)r;
            dst[3] = format == D3DFMT_A8R8G8B8 ? (uint8_t)a : 0xff;
            dst += 4;
            continue;
        case D3DFMT_A4R4G4B4: v = (uint16_t)(((a >> 4) << 12) | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4)); break;
        case D3DFMT_A1R5G5B5:
        case D3DFMT_X1R5G5B5:
            v = (uint16_t)(((format == D3DFMT_X1R5G5B5 || a >= 128) ? 0x8000 : 0) | ((r >> 3) << 10) | ((g >> 3) << 5) |
                           (b >> 3));
            break;
        default: // D3DFMT_R5G6B5
            v = (uint16_t)(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
            break;
        }
        std::memcpy(dst, &v, 2);
        dst += 2;
    }
}

// Writes the image and the mip levels made from it into every level. Each
// level is made from the one above in one of two buffers; a level that
// cannot be allocated fails the fill.
HRESULT FillTexture(IDirect3DTexture8* texture, const CImage& top, D3DFORMAT format) {
    UINT levels = texture->GetLevelCount();
    const CImage* current = &top;
    CImage even, odd;
    for (UINT level = 0; level < levels; ++level) {
        if (level > 0) {
            CImage& next = (level & 1) ? odd : even;
            if (!BuildMipLevel(*current, next))
                return E_OUTOFMEMORY;
            current = &next;
        }
        D3DSURFACE_DESC desc;
        if (FAILED(texture->GetLevelDesc(level, &desc)) || (int)desc.Width != current->width ||
            (int)desc.Height != current->height)
            return D3DERR_INVALIDCALL;
        D3DLOCKED_RECT locked;
        HRESULT hr = texture->LockRect(level, &locked, nullptr, 0);
        if (FAILED(hr))
            return hr;
        for (int y = 0; y < current->height; ++y)
            WriteRow(current->Row(y), current->width, format, (uint8_t*)locked.pBits + (size_t)y * locked.Pitch);
        texture->UnlockRect(level);
    }
    return D3D_OK;
}

D3DXIMAGE_FILEFORMAT ToD3dxFormat(ImageFileFormat format) {
    switch (format) {
    case IFF_BMP: return D3DXIFF_BMP;
    case IFF_JPEG: return D3DXIFF_JPG;
    case IFF_PNG: return D3DXIFF_PNG;
    case IFF_DDS: return D3DXIFF_DDS;
    default: return D3DXIFF_TGA;
    }
}

HRESULT CreateTexture(IDirect3DDevice8* device, LPCVOID srcData, UINT srcDataSize, UINT width, UINT height,
                      UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter, D3DCOLOR colorKey,
                      D3DXIMAGE_INFO* srcInfo, IDirect3DTexture8** texture) {
    D3DCAPS8 caps;
    if (FAILED(device->GetDeviceCaps(&caps)))
        return D3DERR_INVALIDCALL;
    // A picture larger than the device takes is refused from its header,
    // before its texels are allocated.
    CImage image;
    ImageFileFormat fileFormat = IFF_UNKNOWN;
    if (!DecodeImage((const uint8_t*)srcData, srcDataSize, image, &fileFormat,
                     ImageLimits::Within(caps.MaxTextureWidth, caps.MaxTextureHeight)))
        return D3DXERR_INVALIDDATA;
    if (srcInfo) {
        srcInfo->Width = image.width;
        srcInfo->Height = image.height;
        srcInfo->Depth = 1;
        srcInfo->MipLevels = 1;
        srcInfo->Format = image.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
        srcInfo->ResourceType = D3DRTYPE_TEXTURE;
        srcInfo->ImageFileFormat = ToD3dxFormat(fileFormat);
    }
    if (colorKey != 0) {
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (image.Texel(x, y) == colorKey)
                    std::memset(image.Row(y) + (size_t)x * 4, 0, 4);
        image.hasAlpha = true;
    }

    TextureLimits limits;
    limits.powerOfTwo = (caps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0;
    limits.conditionalNonPowerOfTwo = (caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL) != 0;
    limits.squareOnly = (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) != 0;
    limits.maxWidth = caps.MaxTextureWidth;
    limits.maxHeight = caps.MaxTextureHeight;
    TextureLayout layout;
    if (!PlanTextureLayout(image.width, image.height, width, height, mipLevels, limits, layout))
        return D3DERR_INVALIDCALL;
    UINT w = layout.width, h = layout.height, levels = layout.levels;

    if (format == D3DFMT_UNKNOWN) {
        static const D3DFORMAT withAlpha[] = {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5};
        static const D3DFORMAT opaque[] = {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};
        format = image.hasAlpha ? ChooseFormat(device, withAlpha, 3, usage) : ChooseFormat(device, opaque, 3, usage);
    }

    CImage sized;
    const CImage* top = &image;
    if ((int)w != image.width || (int)h != image.height) {
        bool nearest = (filter & 0xff) == D3DX_FILTER_NONE || (filter & 0xff) == D3DX_FILTER_POINT;
        if (!ResizeImage(image, (int)w, (int)h, sized, nearest))
            return D3DERR_INVALIDCALL;
        top = &sized;
    }

    IDirect3DTexture8* result = nullptr;
    HRESULT hr = device->CreateTexture(w, h, levels, usage, format, pool, &result);
    if (FAILED(hr))
        return hr;
    if (pool == D3DPOOL_DEFAULT) {
        // Default-pool textures cannot be locked: fill a system-memory copy
        // and let the device upload it.
        IDirect3DTexture8* staging = nullptr;
        hr = device->CreateTexture(w, h, levels, 0, format, D3DPOOL_SYSTEMMEM, &staging);
        if (SUCCEEDED(hr)) {
            hr = FillTexture(staging, *top, format);
            if (SUCCEEDED(hr))
                hr = device->UpdateTexture(staging, result);
            staging->Release();
        }
    } else {
        hr = FillTexture(result, *top, format);
    }
    if (FAILED(hr)) {
        result->Release();
        return hr;
    }
    *texture = result;
    return D3D_OK;
}

} // namespace

HRESULT WINAPI D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice8* device, LPCVOID srcData, UINT srcDataSize,
                                                   UINT width, UINT height, UINT mipLevels, DWORD usage,
                                                   D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter,
                                                   D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                                   IDirect3DTexture8** texture) {
    if (!texture)
        return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (!device || !srcData || srcDataSize == 0)
        return D3DERR_INVALIDCALL;
    if (format != D3DFMT_UNKNOWN && !IsSupportedFormat(format))
        return D3DERR_INVALIDCALL;
    // The decoders refuse what they cannot allocate; the copies, resized
    // images and mip levels made here are caught as well, so that a texture
    // too large for the process is a refused texture.
    try {
        return CreateTexture(device, srcData, srcDataSize, width, height, mipLevels, usage, format, pool, filter,
                             colorKey, srcInfo, texture);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
