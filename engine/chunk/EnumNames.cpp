#include "engine/chunk/EnumNames.h"

#include "engine/anim/AnimAttribute.h"
#include "engine/chunk/ChunkEnums.h"

namespace {
const char* const VERTEX_ELEMENT_NAMES[] = {
    "VE_POSITION",        "VE_NORMAL",          "VE_TANGENT",         "VE_BINORMAL",        "VE_COLOR_0",
    "VE_COLOR_1",         "VE_WEIGHT_0",        "VE_WEIGHT_1",        "VE_WEIGHT_2",        "VE_WEIGHT_3",
    "VE_WEIGHT_INDICES",  "VE_TEXCOORDINATE_0", "VE_TEXCOORDINATE_1", "VE_TEXCOORDINATE_2", "VE_TEXCOORDINATE_3",
    "VE_TEXCOORDINATE_4", "VE_TEXCOORDINATE_5", "VE_TEXCOORDINATE_6", "VE_TEXCOORDINATE_7",
};
const char* const PRIMITIVE_TYPE_NAMES[] = {"PT_TRIANGLE_LIST", "PT_TRIANGLE_STRIP", "PT_TRIANGLE_FAN"};
const char* const GEOMETRY_TYPE_NAMES[] = {"GT_INDEXED"};
const char* const SHADER_TYPE_NAMES[] = {
    "ST_CONSTANT",   "ST_LAMBERT",        "ST_LAMBERT_2WS",    "ST_LAMBERT_3WS",    "ST_LAMBERT_4WS",
    "ST_LAMBERT_VB", "ST_LAMBERT_2WS_DY", "ST_LAMBERT_3WS_DY", "ST_LAMBERT_4WS_DY",
};
const char* const LIGHT_SET_KIND_NAMES[] = {
    "LS_NON",    "LS_A1",   "LS_A1D1", "LS_A1D1P1", "LS_A1D1P2", "LS_A1D2",
    "LS_A1D2P1", "LS_A1D3", "LS_A1P1", "LS_A1P2",   "LS_A1P3",
};
const char* const LIGHT_TYPE_NAMES[] = {"LT_AMBIENT", "LT_DIRECTIONAL", "LT_POINT"};
const char* const TEXTURE_FILTER_NAMES[] = {"TFM_NONE", "TFM_POINT", "TFM_LINEAR", "TFM_ANISOTROPIC"};
const char* const TEXTURE_ADDRESS_NAMES[] = {"TAM_WRAP", "TAM_MIRROR", "TAM_CLAMP"};
const char* const ANIM_ATTRIBUTE_NAMES[] = {
    "AA_TRANSLATION_X", "AA_TRANSLATION_Y", "AA_TRANSLATION_Z", "AA_ROTATION_X", "AA_ROTATION_Y",
    "AA_ROTATION_Z",    "AA_SCALE_X",       "AA_SCALE_Y",       "AA_SCALE_Z",    "AA_COLOR_A",
    "AA_COLOR_R",       "AA_COLOR_G",       "AA_COLOR_B",       "AA_VISIBLE",    "AA_FRAME_EXTENSION",
    "AA_TRANSLATION_U", "AA_TRANSLATION_V", "AA_ROTATION_W",    "AA_SCALE_U",    "AA_SCALE_V",
    "AA_TRANSLUCENT",
};
const char* const ANIM_WRITE_TYPE_NAMES[] = {"AWT_OVER_WRITE", "AWT_BLEND"};
const char* const INTERPOLATION_TYPE_NAMES[] = {"AI_LINEAR", "AI_CUBIC"};

template <int N>
const char* Lookup(const char* const (&names)[N], int value, const char* unknown) {
    return value >= 0 && value < N ? names[value] : unknown;
}

static_assert(sizeof VERTEX_ELEMENT_NAMES / sizeof(char*) == VERTEX_ELEMENT_COUNT, "vertex element names");
static_assert(sizeof SHADER_TYPE_NAMES / sizeof(char*) == SHADER_TYPE_COUNT, "shader type names");
static_assert(sizeof LIGHT_SET_KIND_NAMES / sizeof(char*) == LIGHT_SET_KIND_COUNT, "light set names");
static_assert(sizeof ANIM_ATTRIBUTE_NAMES / sizeof(char*) == ANIM_ATTRIBUTE_COUNT, "attribute names");
} // namespace

const char* VertexElementName(int element) { return Lookup(VERTEX_ELEMENT_NAMES, element, "VE_UNKNOWN"); }
const char* PrimitiveTypeName(int type) { return Lookup(PRIMITIVE_TYPE_NAMES, type, "PT_UNKNOWN"); }
const char* GeometryTypeName(int type) { return Lookup(GEOMETRY_TYPE_NAMES, type, "GT_UNKNOWN"); }
const char* ShaderTypeName(int type) { return Lookup(SHADER_TYPE_NAMES, type, "ST_UNKNOWN"); }
const char* LightSetKindName(int kind) { return Lookup(LIGHT_SET_KIND_NAMES, kind, "LS_UNKNOWN"); }
const char* LightTypeName(int type) { return Lookup(LIGHT_TYPE_NAMES, type, "LT_UNKNOWN"); }
const char* TextureFilterName(int filter) { return Lookup(TEXTURE_FILTER_NAMES, filter, "TFM_UNKNOWN"); }
const char* TextureAddressName(int mode) { return Lookup(TEXTURE_ADDRESS_NAMES, mode, "TAM_UNKNOWN"); }
const char* AnimAttributeName(int attribute) { return Lookup(ANIM_ATTRIBUTE_NAMES, attribute, "AA_UNKNOWN"); }
const char* AnimWriteTypeName(int type) { return Lookup(ANIM_WRITE_TYPE_NAMES, type, "AWT_UNKNOWN"); }
const char* InterpolationTypeName(int type) { return Lookup(INTERPOLATION_TYPE_NAMES, type, "AI_UNKNOWN"); }
