#pragma once

// The names of the stored enumeration values, for dumps. A value outside its
// table answers "UNKNOWN" with the table's prefix (such as "VE_UNKNOWN").
const char* VertexElementName(int element);
const char* PrimitiveTypeName(int type);
const char* GeometryTypeName(int type);
const char* ShaderTypeName(int type);
const char* LightSetKindName(int kind);
const char* LightTypeName(int type);
const char* TextureFilterName(int filter);
const char* TextureAddressName(int mode);
const char* AnimAttributeName(int attribute);
const char* AnimWriteTypeName(int type);
const char* InterpolationTypeName(int type);
