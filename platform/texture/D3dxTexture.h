#pragma once
// The D3DX 8 texture loader: a texture from BMP, TGA, PNG, JPEG or DDS bytes
// in memory, with the D3DX 8 argument list.
#include <windows.h>
#include <d3d8.h>

#ifndef D3DX_DEFAULT
#define D3DX_DEFAULT ((UINT)-1)
#endif
#define D3DX_FILTER_NONE (1 << 0)
#define D3DX_FILTER_POINT (2 << 0)
#define D3DX_FILTER_LINEAR (3 << 0)
#define D3DX_FILTER_TRIANGLE (4 << 0)
#define D3DX_FILTER_BOX (5 << 0)
#define D3DX_FILTER_DITHER (1 << 19)

enum D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
};

struct D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

// Width and height 0 or D3DX_DEFAULT take the image's size (rounded up to a
// power of two where the device needs one, halved to the device's limit);
// mip levels 0 or D3DX_DEFAULT make a full chain, each level the box-filtered
// half of the one above. A resized image is filtered bilinearly, or by the
// nearest texel for D3DX_FILTER_NONE and D3DX_FILTER_POINT. Format D3DFMT_UNKNOWN picks
// D3DFMT_A8R8G8B8 for an image with an alpha channel and D3DFMT_X8R8G8B8
// otherwise (A4R4G4B4, R5G6B5 or X1R5G5B5 where the device lacks them); an
// explicit format must be one of A8R8G8B8, X8R8G8B8, A4R4G4B4, A1R5G5B5,
// X1R5G5B5 or R5G6B5. A non-zero colour key turns texels of that exact
// 0xAARRGGBB value into transparent black. A palette is never written.
// Bytes that do not decode, and a picture wider or taller than the device's
// texture limit (or IMAGE_MAX_SIDE), give D3DXERR_INVALIDDATA and no texture;
// memory that cannot be had gives E_OUTOFMEMORY and no texture.
HRESULT WINAPI D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice8* device, LPCVOID srcData, UINT srcDataSize,
                                                   UINT width, UINT height, UINT mipLevels, DWORD usage,
                                                   D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter,
                                                   D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                                   IDirect3DTexture8** texture);

#ifndef D3DXERR_INVALIDDATA
#define D3DXERR_INVALIDDATA MAKE_HRESULT(1, 0x876, 2905)
#endif
