#include "engine/vertexprogram/VertexProgramWriter.h"

namespace {
constexpr uint32_t VS_1_1_VERSION = 0xFFFE0101u;
constexpr uint32_t END_TOKEN = 0x0000FFFFu;
constexpr uint32_t PARAM_BIT = 0x80000000u;
constexpr uint32_t RELATIVE_BIT = 1u << 13;
constexpr uint32_t NEGATE_MODIFIER = 1u << 24;

uint32_t Register(uint32_t type, uint32_t number) { return PARAM_BIT | (type << 28) | (number & 0x7FFu); }
} // namespace

uint32_t VsDst::Token() const { return Register(type, number) | ((mask & 15u) << 16); }

VsSrc VsSrc::Swz(const char* components) const {
    VsSrc s = *this;
    uint8_t last = 0;
    for (int i = 0; i < 4; ++i) {
        if (components && *components) {
            switch (*components++) {
            case 'y': last = 1; break;
            case 'z': last = 2; break;
            case 'w': last = 3; break;
            default: last = 0; break;
            }
        }
        s.swizzle[i] = last;
    }
    return s;
}

VsSrc VsSrc::Neg() const {
    VsSrc s = *this;
    s.negate = !s.negate;
    return s;
}

VsSrc VsSrc::Rel() const {
    VsSrc s = *this;
    s.relative = true;
    return s;
}

uint32_t VsSrc::Token() const {
    uint32_t swz = swizzle[0] | (swizzle[1] << 2) | (swizzle[2] << 4) | (swizzle[3] << 6);
    return Register(type, number) | (swz << 16) | (negate ? NEGATE_MODIFIER : 0u) | (relative ? RELATIVE_BIT : 0u);
}

CVertexProgramWriter::CVertexProgramWriter() { m_tokens.push_back(VS_1_1_VERSION); }

void CVertexProgramWriter::Op(uint32_t opcode, VsDst d, std::initializer_list<VsSrc> sources) {
    m_tokens.push_back(opcode);
    m_tokens.push_back(d.Token());
    for (const VsSrc& s : sources)
        m_tokens.push_back(s.Token());
}

std::vector<uint32_t> CVertexProgramWriter::Finish() const {
    std::vector<uint32_t> out = m_tokens;
    out.push_back(END_TOKEN);
    return out;
}

std::vector<uint32_t> CVertexDeclarationWriter::Finish() const {
    std::vector<uint32_t> out = m_tokens;
    out.push_back(0xFFFFFFFFu);
    return out;
}
