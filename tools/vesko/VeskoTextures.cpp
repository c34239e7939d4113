#include "tools/vesko/VeskoTextures.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/vesko/VeskoRig.h"

namespace {

constexpr float PI = 3.14159265358979f;

Rgba Col(int r, int g, int b, int a = 255) { return {uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)}; }

const Rgba SKIN = Col(255, 226, 208);
const Rgba SKIN_SHADE = Col(240, 196, 178);
const Rgba WHITE = Col(250, 250, 252);
const Rgba NAVY = Col(34, 42, 86);
const Rgba RED = Col(212, 40, 58);
const Rgba BLACK = Col(28, 26, 32);
const Rgba HAIR_DARK = Col(104, 58, 38);
const Rgba HAIR_LIGHT = Col(176, 112, 72);

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }
float SmoothStep(float a, float b, float x) {
    float t = Clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}

// Distance in texture units to the front centre line, round the part.
float FrontU(float u) {
    float d = std::fabs(u - 0.5f);
    return d;
}
// Distance to the nearer side line (u = 0.25 or 0.75).
float SideU(float u) { return std::min(std::fabs(u - 0.25f), std::fabs(u - 0.75f)); }
// 1 on the front half, 0 on the back, smooth at the sides.
float Frontness(float u) { return Clamp01(0.5f + 0.5f * std::cos(2 * PI * (u - 0.5f)) * 4); }

// A picture painted by regions: each region is a signed distance in texture
// units (negative inside), so edges are smoothed over one pixel.
class CUvPainter {
public:
    CUvPainter(int width, int height, Rgba fill) : m_canvas(width, height, fill) {}

    using Distance = std::function<float(float u, float v)>;
    using Paint = std::function<Rgba(float u, float v)>;

    void Region(const Distance& distance, const Paint& paint) {
        const float px = 1.0f / float(std::min(m_canvas.Width(), m_canvas.Height()));
        for (int y = 0; y < m_canvas.Height(); ++y)
            for (int x = 0; x < m_canvas.Width(); ++x) {
                float u = (x + 0.5f) / float(m_canvas.Width()), v = (y + 0.5f) / float(m_canvas.Height());
                float coverage = Clamp01(0.5f - distance(u, v) / px);
                if (coverage > 0)
                    m_canvas.Blend(x, y, paint(u, v), coverage);
            }
    }
    void Region(const Distance& distance, Rgba colour) {
        Region(distance, [colour](float, float) { return colour; });
    }
    // Rows v0 <= v < v1 all round.
    void Band(float v0, float v1, Rgba colour) {
        Region([=](float, float v) { return std::max(v0 - v, v - v1); }, colour);
    }
    void Ellipse(float cu, float cv, float ru, float rv, Rgba colour) {
        Region(
            [=](float u, float v) {
                float du = (u - cu) / ru, dv = (v - cv) / rv;
                return (std::sqrt(du * du + dv * dv) - 1) * std::min(ru, rv);
            },
            colour);
    }
    // A line of the given width from (u0, v0) to (u1, v1).
    void Line(float u0, float v0, float u1, float v1, float width, Rgba colour) {
        Region(
            [=](float u, float v) {
                float du = u1 - u0, dv = v1 - v0;
                float t = Clamp01(((u - u0) * du + (v - v0) * dv) / std::max(1e-9f, du * du + dv * dv));
                return std::hypot(u - (u0 + du * t), v - (v0 + dv * t)) - width / 2;
            },
            colour);
    }
    CCanvas& Canvas() { return m_canvas; }

private:
    CCanvas m_canvas;
};

// ---- Body textures -------------------------------------------------------

// Torso rows (v = (4.50 - y) / 1.80 in model units).
constexpr float T_BUST = 0.267f, T_UNDERBUST = 0.344f, T_WAIST = 0.544f, T_HIP = 0.74f;
// The two cups' centres across the front.
constexpr float CUP_U = 0.088f;

// Neckline: rows above this are open, dipping at the front by `dip`.
float NecklineTop(float u, float top, float dip, float width = 0.12f) {
    float f = std::exp(-std::pow(FrontU(u) / width, 2));
    return top + dip * f;
}

void Skin(CUvPainter& p) {
    p.Canvas().Fill(SKIN);
    // A faint shade down the sides and the back keeps the skin from looking flat.
    p.Region([](float, float) { return -1.0f; },
             [](float u, float) {
                 Rgba c = SKIN_SHADE;
                 c.a = uint8_t(40 * (1 - Frontness(u)));
                 return c;
             });
}

void Navel(CUvPainter& p) { p.Ellipse(0.5f, 0.60f, 0.006f, 0.01f, SKIN_SHADE); }

void Cups(CUvPainter& p, Rgba colour, float size = 1.0f) {
    for (float side : {-1.0f, 1.0f})
        p.Ellipse(0.5f + side * CUP_U, T_BUST, 0.07f * size, 0.075f * size, colour);
}

// Briefs from the hip line down, cut up towards the sides.
void Briefs(CUvPainter& p, Rgba colour, float rise = 0.0f) {
    p.Region(
        [=](float u, float v) {
            float side = SideU(u) < 0.12f ? (0.12f - SideU(u)) * 0.6f : 0.0f;
            return (T_HIP + 0.05f - rise + side) - v;
        },
        colour);
}

// A one-piece from the neckline down.
void OnePiece(CUvPainter& p, Rgba colour, float top, float dip, float backTop) {
    p.Region(
        [=](float u, float v) {
            float front = Frontness(u);
            float limit = front * NecklineTop(u, top, dip) + (1 - front) * backTop;
            return limit - v;
        },
        colour);
}

void ShoulderStraps(CUvPainter& p, Rgba colour, float width = 0.03f) {
    for (float side : {-1.0f, 1.0f}) {
        p.Line(0.5f + side * CUP_U, T_BUST - 0.05f, 0.5f + side * 0.075f, 0.0f, width, colour);
        p.Line(side < 0 ? 0.07f : 0.93f, 0.30f, side < 0 ? 0.08f : 0.92f, 0.0f, width, colour);
    }
}

void DefaultBody(CUvPainter& p) {
    Skin(p);
    Navel(p);
    Cups(p, WHITE, 0.95f);
    p.Region([](float u, float v) { return std::max(std::fabs(v - 0.325f) - 0.015f, 0.0f) + 0 * u; }, WHITE);
    ShoulderStraps(p, WHITE, 0.015f);
    Briefs(p, WHITE);
    // A small ribbon at the front of each.
    p.Ellipse(0.5f, T_BUST + 0.02f, 0.012f, 0.01f, Col(240, 150, 170));
    p.Ellipse(0.5f, T_HIP + 0.07f, 0.012f, 0.01f, Col(240, 150, 170));
}

void SchoolSwimsuit(CUvPainter& p) {
    Skin(p);
    OnePiece(p, NAVY, 0.15f, 0.07f, 0.30f);
    // The name patch on the chest.
    p.Region([](float u, float v) { return std::max(std::fabs(u - 0.5f) - 0.07f, std::fabs(v - 0.24f) - 0.035f); },
             WHITE);
    p.Line(0.45f, 0.24f, 0.55f, 0.24f, 0.008f, Col(60, 60, 70));
    p.Band(T_HIP + 0.08f, T_HIP + 0.1f, Col(52, 62, 112));
}

void Bikini(CUvPainter& p, Rgba colour, Rgba dots, bool straps) {
    Skin(p);
    Navel(p);
    Cups(p, colour, 1.0f);
    p.Region([](float, float v) { return std::fabs(v - 0.33f) - 0.014f; }, colour);
    if (straps)
        ShoulderStraps(p, colour, 0.02f);
    Briefs(p, colour, 0.02f);
    for (int i = 0; i < 40; ++i) {
        float u = std::fmod(0.137f * float(i * 7), 1.0f), v = 0.2f + std::fmod(0.0917f * float(i * 5), 0.8f);
        bool onCup = std::hypot((std::fabs(u - 0.5f) - CUP_U) / 0.07f, (v - T_BUST) / 0.075f) < 0.8f;
        bool onBriefs = v > T_HIP + 0.1f;
        if (onCup || onBriefs)
            p.Ellipse(u, v, 0.008f, 0.008f, dots);
    }
}

void Leotard(CUvPainter& p, Rgba colour, Rgba trim, float top) {
    Skin(p);
    OnePiece(p, colour, top, 0.05f, top + 0.05f);
    p.Region([=](float u, float v) { return std::fabs(v - NecklineTop(u, top, 0.05f) - 0.01f) - 0.008f; }, trim);
    p.Region([](float u, float) { return SideU(u) - 0.012f; }, trim);
}

void CheerTop(CUvPainter& p) {
    Skin(p);
    Navel(p);
    p.Region(
        [](float u, float v) {
            float limit = NecklineTop(u, 0.05f, 0.12f, 0.07f);
            return std::max(limit - v, v - (T_UNDERBUST + 0.06f));
        },
        RED);
    // The white V on the front and the trim at the hem.
    p.Region([](float u, float v) { return std::fabs(v - (0.05f + 0.14f - FrontU(u) * 1.2f)) - 0.012f; }, WHITE);
    p.Band(T_UNDERBUST + 0.045f, T_UNDERBUST + 0.06f, WHITE);
    p.Ellipse(0.5f, 0.2f, 0.035f, 0.03f, Col(250, 210, 60));
    Briefs(p, RED);
}

void Blazer(CUvPainter& p, Rgba jacket, Rgba shirt, Rgba ribbon) {
    Skin(p);
    p.Region([](float, float v) { return -v; }, shirt);
    // The jacket leaves a V open at the front down to the bust.
    p.Region(
        [](float u, float v) {
            float open = 0.10f * Clamp01(1 - v / 0.42f);
            return (open + 0.004f) - FrontU(u);
        },
        jacket);
    p.Region([](float u, float v) { return std::max(FrontU(u) - 0.004f, v - 0.5f); }, Col(200, 200, 205));
    // Buttons and the ribbon.
    for (float v : {0.44f, 0.5f})
        p.Ellipse(0.5f, v, 0.008f, 0.008f, Col(220, 190, 80));
    p.Ellipse(0.48f, 0.12f, 0.025f, 0.02f, ribbon);
    p.Ellipse(0.52f, 0.12f, 0.025f, 0.02f, ribbon);
    Briefs(p, WHITE);
    p.Region([](float, float v) { return T_WAIST + 0.03f - v; }, jacket);
}

void SailorDress(CUvPainter& p, Rgba dress, Rgba collar) {
    Skin(p);
    p.Region([](float, float v) { return -v; }, dress);
    // The sailor collar: a band round the neck and a V on the front.
    p.Region([](float u, float v) { return v - (0.09f + 0.12f * Clamp01(1 - FrontU(u) / 0.14f) * Frontness(u)); },
             collar);
    p.Region([](float u, float v) { return v - (0.06f + 0.10f * Clamp01(1 - FrontU(u) / 0.1f) * Frontness(u)); },
             dress);
    p.Region([](float u, float v) { return std::max(std::fabs(u - 0.5f) - 0.012f, std::fabs(v - 0.2f) - 0.05f); },
             collar);
    p.Band(T_WAIST, T_WAIST + 0.02f, Col(dress.r / 2, dress.g / 2, dress.b / 2));
}

void MaidTop(CUvPainter& p, Rgba dress) {
    Skin(p);
    OnePiece(p, dress, 0.08f, 0.06f, 0.1f);
    // White apron bib on the front.
    p.Region([](float u, float v) { return std::max(FrontU(u) - 0.09f, std::max(0.2f - v, v - T_WAIST)); }, WHITE);
    p.Region([](float, float v) { return std::fabs(v - T_WAIST) - 0.015f; }, WHITE);
    Briefs(p, WHITE);
}

void TrackJacket(CUvPainter& p, Rgba colour, Rgba stripe) {
    p.Canvas().Fill(colour);
    p.Region([](float u, float) { return FrontU(u) - 0.004f; }, Col(235, 235, 235));
    p.Region([](float u, float) { return SideU(u) - 0.014f; }, stripe);
    p.Band(T_HIP, T_HIP + 0.015f, stripe);
}

void GymShirt(CUvPainter& p) {
    p.Canvas().Fill(WHITE);
    p.Region([](float u, float v) { return v - (0.02f + 0.08f * std::exp(-std::pow(FrontU(u) / 0.07f, 2))); }, SKIN);
    p.Region([](float u,
                float v) { return std::fabs(v - (0.03f + 0.08f * std::exp(-std::pow(FrontU(u) / 0.07f, 2)))) - 0.01f; },
             NAVY);
    p.Region([](float u, float v) { return std::max(std::fabs(u - 0.57f) - 0.04f, std::fabs(v - 0.25f) - 0.03f); },
             Col(230, 230, 235));
    p.Region([](float, float v) { return T_HIP - v; }, NAVY);
}

void Ballet(CUvPainter& p) {
    Skin(p);
    p.Region(
        [](float u, float v) {
            float front = Frontness(u);
            float top = front * (0.18f + 0.05f * std::cos(FrontU(u) / CUP_U * PI)) + (1 - front) * 0.28f;
            return top - v;
        },
        Col(252, 214, 226));
    p.Band(T_WAIST - 0.01f, T_WAIST + 0.01f, Col(240, 160, 190));
}

void Blouse(CUvPainter& p, Rgba colour) {
    Skin(p);
    OnePiece(p, colour, 0.05f, 0.08f, 0.05f);
    for (float v : {0.2f, 0.3f, 0.4f, 0.5f})
        p.Ellipse(0.5f, v, 0.007f, 0.007f, WHITE);
    Briefs(p, colour);
}

// Arm rows: v = (4.50 - y) / 2; hands below v = 0.9.
constexpr float A_ELBOW = 0.48f, A_WRIST = 0.86f, A_HAND = 0.9f;

void ArmSkin(CUvPainter& p) {
    p.Canvas().Fill(SKIN);
    // Nails on the hand's tip.
    p.Band(0.985f, 1.0f, Col(255, 214, 214));
}

void Sleeve(CUvPainter& p, float end, Rgba colour, Rgba cuff) {
    p.Band(0, end, colour);
    p.Band(end - 0.03f, end, cuff);
}

// Leg rows: v = (3.05 - y) * 0.296; feet below v = 0.9.
constexpr float L_KNEE = 0.46f, L_ANKLE = 0.86f, L_FOOT = 0.9f;

void LegSkin(CUvPainter& p) {
    p.Canvas().Fill(SKIN);
    // Toe nails at the front of the foot.
    p.Region([](float u, float v) { return std::max(FrontU(u) - 0.06f, 0.985f - v); }, Col(255, 210, 214));
}

void Socks(CUvPainter& p, float top, Rgba colour) { p.Band(top, 1.0f, colour); }

void Shoes(CUvPainter& p, Rgba colour, Rgba sole) {
    p.Band(L_FOOT - 0.01f, 1.0f, colour);
    p.Band(0.98f, 1.0f, sole);
}

void Tights(CUvPainter& p, Rgba colour) { p.Band(0, 1.0f, colour); }

// Neck rows: v = (4.95 - y) * 2; the body starts near v = 0.9.
void NeckSkin(CUvPainter& p) {
    p.Canvas().Fill(SKIN);
    // The chin's shadow at the top of the neck.
    p.Region([](float, float v) { return v - 0.35f; },
             [](float, float v) {
                 Rgba c = SKIN_SHADE;
                 c.a = uint8_t(160 * Clamp01(1 - v / 0.35f));
                 return c;
             });
}

// ---- Face ---------------------------------------------------------------

// The face is mapped flat from the front: u = 0.5 + x / 1.04 and
// v = (1.12 - y) / 1.2 in the head bone's space.
constexpr float EYE_U = 0.173f, EYE_V = 0.555f, EYE_RU = 0.085f, EYE_RV = 0.095f;
const Rgba LASH = Col(52, 30, 30);
const Rgba IRIS = Col(74, 122, 186);
const Rgba IRIS_DARK = Col(34, 62, 120);
const Rgba MOUTH = Col(196, 82, 92);
const Rgba BROW = Col(120, 70, 48);

// One open eye; `open` 1 for a full eye, less for a lowered lid; `look`
// shifts the iris; `small` shrinks the iris (surprise).
void OpenEye(CUvPainter& p, float side, float open, float small, bool sparkle = true) {
    float cu = 0.5f + side * EYE_U, cv = EYE_V;
    float top = cv - EYE_RV + (1 - open) * EYE_RV * 1.2f;
    auto inEye = [=](float u, float v) {
        float du = (u - cu) / EYE_RU, dv = (v - cv) / EYE_RV;
        return std::max((std::sqrt(du * du + dv * dv) - 1) * EYE_RU, top - v);
    };
    p.Region(inEye, WHITE);
    const float iu = EYE_RU * 0.72f * small, iv = EYE_RV * 0.86f * small;
    p.Region(
        [=](float u, float v) {
            float du = (u - cu) / iu, dv = (v - cv - 0.01f) / iv;
            return std::max((std::sqrt(du * du + dv * dv) - 1) * iu, inEye(u, v));
        },
        [=](float, float v) { return MixColours(IRIS_DARK, IRIS, Clamp01((v - (cv - iv)) / (1.6f * iv))); });
    p.Region(
        [=](float u, float v) {
            float du = (u - cu) / (iu * 0.45f), dv = (v - cv - 0.01f) / (iv * 0.5f);
            return std::max((std::sqrt(du * du + dv * dv) - 1) * iu * 0.45f, inEye(u, v));
        },
        Col(20, 24, 46));
    if (sparkle) {
        p.Ellipse(cu - side * 0.02f - 0.01f, cv - 0.03f, 0.018f, 0.02f, WHITE);
        p.Ellipse(cu + 0.02f, cv + 0.035f, 0.008f, 0.008f, Col(220, 236, 255));
    }
    // Upper lash line, thicker at the outer corner, with a flick.
    p.Region(
        [=](float u, float v) {
            float du = (u - cu) / EYE_RU;
            if (std::fabs(du) > 1.08f)
                return 1.0f;
            float lid = open >= 1 ? cv - EYE_RV * std::sqrt(std::max(0.0f, 1 - du * du)) : top;
            float thick = 0.011f + 0.008f * Clamp01(du * side);
            return std::fabs(v - lid) - thick;
        },
        LASH);
    p.Line(cu + side * EYE_RU * 0.95f, cv - EYE_RV * 0.25f, cu + side * EYE_RU * 1.2f, cv - EYE_RV * 0.55f, 0.014f,
           LASH);
    // Lower lash hint.
    p.Line(cu - EYE_RU * 0.4f, cv + EYE_RV * 0.98f, cu + side * EYE_RU * 0.7f, cv + EYE_RV * 0.9f, 0.006f,
           Col(150, 100, 96));
}

// A closed eye: an arc down (asleep, blinking) or up (a smile).
void ClosedEye(CUvPainter& p, float side, bool happy) {
    float cu = 0.5f + side * EYE_U, cv = EYE_V + 0.02f;
    p.Region(
        [=](float u, float v) {
            float du = (u - cu) / EYE_RU;
            if (std::fabs(du) > 1.0f)
                return 1.0f;
            float arc = happy ? cv - 0.035f * (1 - du * du) : cv + 0.03f * (1 - du * du) - 0.015f;
            return std::fabs(v - arc) - 0.011f;
        },
        LASH);
}

void Brows(CUvPainter& p, float tilt, float lift = 0) {
    for (float side : {-1.0f, 1.0f}) {
        float cu = 0.5f + side * (EYE_U + 0.005f), cv = 0.415f - lift;
        p.Line(cu - side * 0.055f, cv + tilt, cu + side * 0.055f, cv - tilt * 0.3f + 0.008f, 0.012f, BROW);
    }
}

void Blush(CUvPainter& p, float strength) {
    for (float side : {-1.0f, 1.0f})
        p.Region(
            [=](float u, float v) {
                float du = (u - (0.5f + side * 0.25f)) / 0.075f, dv = (v - 0.665f) / 0.03f;
                return (std::sqrt(du * du + dv * dv) - 1) * 0.03f;
            },
            [=](float u, float v) {
                float du = (u - (0.5f + side * 0.25f)) / 0.075f, dv = (v - 0.665f) / 0.03f;
                Rgba c = Col(255, 150, 160);
                c.a = uint8_t(255 * strength * Clamp01(1 - std::sqrt(du * du + dv * dv)));
                return c;
            });
}

void Mouth(CUvPainter& p, int kind) {
    const float cu = 0.5f, cv = 0.775f;
    switch (kind) {
    case 0: // small smile
        p.Region(
            [=](float u, float v) {
                float du = (u - cu) / 0.035f;
                if (std::fabs(du) > 1)
                    return 1.0f;
                return std::fabs(v - (cv + 0.012f * (1 - du * du))) - 0.005f;
            },
            MOUTH);
        break;
    case 1: // open smile
        p.Region(
            [=](float u, float v) {
                float du = (u - cu) / 0.045f, dv = (v - cv) / 0.035f;
                return std::max((std::sqrt(du * du + dv * dv) - 1) * 0.035f, cv - 0.004f - v);
            },
            MOUTH);
        p.Ellipse(cu, cv + 0.022f, 0.022f, 0.01f, Col(240, 130, 140));
        break;
    case 2: // round "o"
        p.Ellipse(cu, cv + 0.005f, 0.018f, 0.024f, MOUTH);
        p.Ellipse(cu, cv + 0.008f, 0.011f, 0.015f, Col(120, 40, 52));
        break;
    case 3: // frown
        p.Region(
            [=](float u, float v) {
                float du = (u - cu) / 0.03f;
                if (std::fabs(du) > 1)
                    return 1.0f;
                return std::fabs(v - (cv + 0.012f - 0.012f * (1 - du * du))) - 0.005f;
            },
            MOUTH);
        break;
    case 4: // chewing: a wide cheek-full mouth
        p.Region(
            [=](float u, float v) {
                float du = (u - cu) / 0.04f;
                if (std::fabs(du) > 1)
                    return 1.0f;
                return std::fabs(v - (cv + 0.01f * std::cos(du * PI * 1.5f))) - 0.006f;
            },
            MOUTH);
        break;
    case 5: // wavy
        p.Region(
            [=](float u, float v) {
                float du = (u - cu) / 0.04f;
                if (std::fabs(du) > 1)
                    return 1.0f;
                return std::fabs(v - (cv + 0.008f * std::sin(du * PI * 2))) - 0.005f;
            },
            MOUTH);
        break;
    default: // a small line
        p.Line(cu - 0.015f, cv + 0.01f, cu + 0.015f, cv + 0.01f, 0.008f, MOUTH);
        break;
    }
}

} // namespace

CCanvas PaintVeskoFace(int frame) {
    CUvPainter p(256, 256, SKIN);
    // Shade towards the jaw and the sides, so the face reads round.
    p.Region([](float, float) { return -1.0f; },
             [](float u, float v) {
                 float d = Clamp01((std::fabs(u - 0.5f) - 0.3f) / 0.2f);
                 Rgba c = SKIN_SHADE;
                 c.a = uint8_t(90 * d + 40 * Clamp01((v - 0.88f) / 0.1f));
                 return c;
             });
    // A nose hint.
    p.Line(0.505f, 0.665f, 0.5f, 0.675f, 0.008f, Col(232, 180, 166));
    switch (frame) {
    case VF_NEUTRAL:
    default:
        Brows(p, 0.0f);
        OpenEye(p, -1, 1, 1);
        OpenEye(p, 1, 1, 1);
        Blush(p, 0.35f);
        Mouth(p, 0);
        break;
    case VF_CLOSED:
        Brows(p, 0.0f);
        ClosedEye(p, -1, false);
        ClosedEye(p, 1, false);
        Blush(p, 0.35f);
        Mouth(p, 0);
        break;
    case VF_SMILE:
        Brows(p, -0.005f, 0.01f);
        ClosedEye(p, -1, true);
        ClosedEye(p, 1, true);
        Blush(p, 0.6f);
        Mouth(p, 1);
        break;
    case VF_SURPRISED:
        Brows(p, -0.01f, 0.03f);
        OpenEye(p, -1, 1.1f, 0.6f);
        OpenEye(p, 1, 1.1f, 0.6f);
        Blush(p, 0.2f);
        Mouth(p, 2);
        break;
    case VF_SLEEPY:
        Brows(p, 0.01f, -0.01f);
        OpenEye(p, -1, 0.45f, 1, false);
        OpenEye(p, 1, 0.45f, 1, false);
        Blush(p, 0.3f);
        Mouth(p, 6);
        break;
    case VF_EATING:
        Brows(p, -0.005f, 0.01f);
        ClosedEye(p, -1, true);
        ClosedEye(p, 1, true);
        Blush(p, 0.7f);
        Mouth(p, 4);
        break;
    case VF_SAD:
        Brows(p, -0.025f);
        OpenEye(p, -1, 0.8f, 0.95f);
        OpenEye(p, 1, 0.8f, 0.95f);
        Blush(p, 0.2f);
        Mouth(p, 3);
        break;
    case VF_ANGRY:
        Brows(p, 0.03f, -0.01f);
        OpenEye(p, -1, 0.75f, 0.9f);
        OpenEye(p, 1, 0.75f, 0.9f);
        Blush(p, 0.5f);
        Mouth(p, 3);
        break;
    case VF_TALKING:
        Brows(p, 0.0f, 0.01f);
        OpenEye(p, -1, 1, 1);
        OpenEye(p, 1, 1, 1);
        Blush(p, 0.4f);
        Mouth(p, 1);
        break;
    case VF_WINK:
        Brows(p, 0.0f, 0.01f);
        OpenEye(p, -1, 1, 1);
        ClosedEye(p, 1, true);
        Blush(p, 0.5f);
        Mouth(p, 1);
        break;
    case VF_TROUBLED:
        Brows(p, -0.02f, 0.01f);
        OpenEye(p, -1, 0.9f, 0.85f);
        OpenEye(p, 1, 0.9f, 0.85f);
        Blush(p, 0.8f);
        Mouth(p, 5);
        break;
    case VF_ASLEEP:
        Brows(p, 0.01f, -0.01f);
        ClosedEye(p, -1, false);
        ClosedEye(p, 1, false);
        Blush(p, 0.3f);
        Mouth(p, 2);
        break;
    }
    return p.Canvas();
}

namespace {

struct Job {
    const char* file;
    int width, height;
    std::function<void(CUvPainter&)> paint;
};

// Hair: dark at the roots, lighter to the tips, with fine strands.
void Hair(CUvPainter& p, Rgba dark, Rgba light) {
    CCanvas& c = p.Canvas();
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            float u = (x + 0.5f) / float(c.Width()), v = (y + 0.5f) / float(c.Height());
            float streak = 0.5f + 0.25f * std::sin(u * 2 * PI * 23) + 0.25f * std::sin(u * 2 * PI * 57 + 1.3f);
            Rgba base = MixColours(dark, light, SmoothStep(0.1f, 1.0f, v));
            Rgba shine = MixColours(base, Col(255, 236, 220), 0.25f * std::exp(-std::pow((v - 0.25f) / 0.05f, 2)));
            c.Set(x, y, MixColours(shine, dark, 0.25f * streak));
        }
}

// Fabric with a repeating pattern on a ground colour.
void Fabric(CUvPainter& p, Rgba ground, Rgba mark, int pattern, Rgba hem) {
    p.Canvas().Fill(ground);
    if (pattern == 1) // polka dots
        for (int j = 0; j < 8; ++j)
            for (int i = 0; i < 12; ++i)
                p.Ellipse((float(i) + 0.5f * float(j % 2) + 0.25f) / 12.0f, (float(j) + 0.5f) / 8.0f, 0.018f, 0.018f,
                          mark);
    if (pattern == 2) // pleats
        for (int i = 0; i < 24; ++i)
            p.Line((float(i) + 0.5f) / 24.0f, 0, (float(i) + 0.5f) / 24.0f, 1, 0.006f, mark);
    if (pattern == 3) // check
        for (int i = 0; i < 12; ++i) {
            p.Line((float(i) + 0.5f) / 12.0f, 0, (float(i) + 0.5f) / 12.0f, 1, 0.012f, mark);
            p.Line(0, (float(i) + 0.5f) / 12.0f, 1, (float(i) + 0.5f) / 12.0f, 0.012f, mark);
        }
    if (pattern == 4) // side stripes
        p.Region([](float u, float) { return SideU(u) - 0.02f; }, mark);
    if (pattern == 5) // tulle streaks
        for (int i = 0; i < 48; ++i)
            p.Line(float(i) / 48.0f, 0, float(i) / 48.0f + 0.01f, 1, 0.004f, mark);
    p.Band(0.9f, 0.96f, hem);
}

void Pattern(CUvPainter& p, Rgba ground, Rgba mark, int pattern) {
    p.Canvas().Fill(ground);
    switch (pattern) {
    case 0: // stripes round
        for (int i = 0; i < 6; ++i)
            p.Band(float(i) / 6.0f, float(i) / 6.0f + 0.06f, mark);
        break;
    case 1: // dots
        for (int j = 0; j < 6; ++j)
            for (int i = 0; i < 6; ++i)
                p.Ellipse((float(i) + 0.5f) / 6.0f, (float(j) + 0.5f) / 6.0f, 0.04f, 0.04f, mark);
        break;
    case 2: // petals: soft rays from the middle
        p.Region([](float u, float v) { return std::hypot(u - 0.5f, v - 0.5f) - 0.45f; },
                 [=](float u, float v) {
                     float a = std::atan2(v - 0.5f, u - 0.5f);
                     return MixColours(ground, mark, 0.5f + 0.5f * std::cos(a * 8));
                 });
        p.Ellipse(0.5f, 0.5f, 0.1f, 0.1f, Col(250, 220, 80));
        break;
    case 3: // fur: fine noise of strokes
        for (int i = 0; i < 200; ++i) {
            float u = std::fmod(0.6180339f * float(i), 1.0f), v = std::fmod(0.7548776f * float(i) * 1.3f, 1.0f);
            p.Line(u, v, u + 0.01f, v + 0.05f, 0.006f, mark);
        }
        break;
    case 4: // glow: bright middle band
        p.Region([](float, float) { return -1.0f; },
                 [=](float, float v) {
                     Rgba c = mark;
                     c.a = uint8_t(255 * std::exp(-std::pow((v - 0.5f) / 0.22f, 2)));
                     return c;
                 });
        break;
    case 5: // stars
        for (int i = 0; i < 10; ++i) {
            float u = std::fmod(0.37f * float(i) + 0.1f, 1.0f), v = std::fmod(0.53f * float(i) + 0.2f, 1.0f);
            p.Line(u - 0.04f, v, u + 0.04f, v, 0.012f, mark);
            p.Line(u, v - 0.04f, u, v + 0.04f, 0.012f, mark);
        }
        break;
    case 6: // calico patches
        p.Ellipse(0.3f, 0.3f, 0.18f, 0.14f, mark);
        p.Ellipse(0.75f, 0.65f, 0.16f, 0.2f, Col(60, 50, 46));
        break;
    }
}

std::vector<Job> Jobs() {
    const Rgba CHEER_WHITE = WHITE;
    std::vector<Job> jobs = {
        {"capAntenaGray.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(150, 154, 162), Col(110, 114, 122), 0); }},
        {"capAoringoFrame.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(150, 210, 80), Col(200, 240, 120), 3); }},
        {"capKosmos.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(250, 150, 200), Col(255, 220, 240), 2); }},
        {"capNeneko.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(250, 246, 236), Col(230, 150, 70), 6); }},
        {"capRibbonDeFron.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(220, 40, 70), WHITE, 1); }},
        {"clothKorvant.tga", 128, 128, [](CUvPainter& p) { Fabric(p, Col(246, 150, 180), WHITE, 0, WHITE); }},
        {"clothBlue.tga", 128, 128, [](CUvPainter& p) { Fabric(p, Col(80, 130, 220), Col(200, 225, 255), 1, WHITE); }},
        {"clothCheerLeader.tga", 128, 128,
         [=](CUvPainter& p) {
             Fabric(p, RED, Col(150, 20, 40), 2, CHEER_WHITE);
             p.Band(0.8f, 0.84f, WHITE);
         }},
        {"clothChuchu.tga", 128, 128,
         [](CUvPainter& p) { Fabric(p, Col(255, 222, 234), Col(255, 255, 255), 5, Col(250, 180, 210)); }},
        {"clothEtona.tga", 128, 128,
         [](CUvPainter& p) { Fabric(p, Col(40, 30, 56), Col(110, 70, 150), 2, Col(230, 220, 240)); }},
        {"clothHatan.tga", 128, 128, [](CUvPainter& p) { Fabric(p, Col(40, 50, 96), Col(120, 40, 50), 3, NAVY); }},
        {"clothMomo.tga", 128, 128,
         [](CUvPainter& p) { Fabric(p, Col(250, 170, 150), Col(255, 200, 186), 0, Col(230, 120, 110)); }},
        {"clothOrange.tga", 128, 128, [](CUvPainter& p) { Fabric(p, Col(250, 150, 50), WHITE, 1, WHITE); }},
        {"clothPink.tga", 128, 128, [](CUvPainter& p) { Fabric(p, Col(250, 150, 190), WHITE, 1, WHITE); }},
        {"clothYamayuri.tga", 128, 128,
         [](CUvPainter& p) { Fabric(p, Col(36, 58, 44), Col(20, 36, 28), 2, Col(36, 58, 44)); }},
        {"haibane_ring.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(230, 190, 90), Col(255, 250, 210), 4); }},
        {"jazi.tga", 128, 128, [](CUvPainter& p) { Fabric(p, Col(40, 80, 60), WHITE, 4, Col(40, 80, 60)); }},
        {"jaziYellow.tga", 128, 128, [](CUvPainter& p) { Fabric(p, Col(240, 200, 50), NAVY, 4, Col(240, 200, 50)); }},
        {"maruKage.tga", 64, 64, nullptr},
        {"mimiAsuka.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(220, 40, 40), Col(120, 20, 20), 0); }},
        {"mimiMomo.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(250, 190, 200), Col(255, 225, 230), 3); }},
        {"mimiMomoGray.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(160, 160, 168), Col(200, 200, 206), 3); }},
        {"mimiRei.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(240, 244, 250), Col(90, 120, 220), 0); }},
        {"mimiWitch.tga", 64, 64, [](CUvPainter& p) { Pattern(p, Col(70, 40, 110), Col(250, 220, 90), 5); }},
        {"osageBexlaHairColor.tga", 64, 64, [](CUvPainter& p) { Hair(p, Col(210, 160, 70), Col(250, 220, 140)); }},
        {"osageSpin.tga", 64, 64, [](CUvPainter& p) { Hair(p, Col(200, 90, 130), Col(250, 170, 200)); }},
    };
    // Arms.
    auto arm = [](std::function<void(CUvPainter&)> extra) {
        return [extra](CUvPainter& p) {
            ArmSkin(p);
            if (extra)
                extra(p);
        };
    };
    jobs.push_back({"vesko_armKorvant.tga", 128, 128, arm([](CUvPainter& p) {
                        Sleeve(p, 0.2f, Col(246, 150, 180), WHITE);
                        p.Band(A_WRIST - 0.06f, A_WRIST - 0.02f, WHITE);
                    })});
    jobs.push_back({"vesko_armCheerLeader.tga", 128, 128,
                    arm([](CUvPainter& p) { p.Band(A_WRIST - 0.08f, A_WRIST + 0.01f, WHITE); })});
    jobs.push_back({"vesko_armEtona.tga", 128, 128, arm([](CUvPainter& p) {
                        p.Band(0.25f, 1.0f, BLACK);
                        p.Band(0.25f, 0.29f, Col(130, 80, 170));
                    })});
    jobs.push_back({"vesko_armHatan.tga", 128, 128, arm([](CUvPainter& p) { Sleeve(p, A_WRIST, NAVY, WHITE); })});
    jobs.push_back(
        {"vesko_armMomo.tga", 128, 128, arm([](CUvPainter& p) { Sleeve(p, 0.22f, Col(250, 170, 150), WHITE); })});
    jobs.push_back({"vesko_armTrainingA.tga", 128, 128, arm([](CUvPainter& p) {
                        Sleeve(p, A_WRIST, Col(200, 40, 50), Col(230, 230, 230));
                        p.Region([](float u, float v) { return std::max(SideU(u) - 0.02f, v - A_WRIST); }, WHITE);
                    })});
    jobs.push_back({"vesko_armTrainingB.tga", 128, 128, arm([](CUvPainter& p) { Sleeve(p, 0.2f, WHITE, NAVY); })});
    jobs.push_back(
        {"vesko_armYamayuri.tga", 128, 128, arm([](CUvPainter& p) { Sleeve(p, A_WRIST, Col(36, 58, 44), WHITE); })});
    for (int frame = 1; frame <= VESKO_FACE_FRAMES; ++frame)
        jobs.push_back({nullptr, frame, 0, nullptr});
    jobs.push_back({"vesko_hair01Grad.tga", 128, 128, [](CUvPainter& p) { Hair(p, HAIR_DARK, HAIR_LIGHT); }});
    jobs.push_back(
        {"vesko_hair02Etona.tga", 128, 128, [](CUvPainter& p) { Hair(p, Col(60, 30, 70), Col(150, 90, 170)); }});
    // Legs.
    auto leg = [](std::function<void(CUvPainter&)> extra) {
        return [extra](CUvPainter& p) {
            LegSkin(p);
            if (extra)
                extra(p);
        };
    };
    jobs.push_back({"vesko_legKorvant.tga", 128, 128, leg([](CUvPainter& p) {
                        Socks(p, 0.2f, WHITE);
                        p.Band(0.2f, 0.23f, Col(246, 150, 180));
                        Shoes(p, Col(180, 70, 100), Col(90, 40, 50));
                    })});
    jobs.push_back({"vesko_legCheerLeader.tga", 128, 128, leg([](CUvPainter& p) {
                        Socks(p, 0.62f, WHITE);
                        p.Band(0.64f, 0.66f, RED);
                        Shoes(p, WHITE, Col(200, 200, 205));
                    })});
    jobs.push_back({"vesko_legChuchu.tga", 128, 128, leg([](CUvPainter& p) {
                        Tights(p, Col(250, 206, 214));
                        Shoes(p, Col(250, 170, 190), Col(230, 150, 170));
                    })});
    jobs.push_back({"vesko_legEtona.tga", 128, 128, leg([](CUvPainter& p) {
                        Socks(p, 0.15f, Col(40, 34, 46));
                        p.Band(0.15f, 0.19f, Col(200, 190, 210));
                        Shoes(p, BLACK, Col(70, 60, 80));
                    })});
    jobs.push_back({"vesko_legHatan.tga", 128, 128, leg([](CUvPainter& p) {
                        Socks(p, 0.5f, BLACK);
                        Shoes(p, Col(110, 66, 40), Col(60, 36, 24));
                    })});
    jobs.push_back({"vesko_legLeotard.tga", 128, 128, leg([](CUvPainter& p) {
                        Tights(p, Col(214, 170, 176));
                        Shoes(p, Col(130, 80, 170), Col(90, 50, 120));
                    })});
    jobs.push_back({"vesko_legMomo.tga", 128, 128, leg([](CUvPainter& p) {
                        Tights(p, Col(236, 196, 176));
                        Shoes(p, Col(200, 40, 60), Col(120, 20, 30));
                    })});
    jobs.push_back({"vesko_legSwimSholder1.tga", 128, 128, leg([](CUvPainter& p) {
                        p.Band(0.55f, L_ANKLE + 0.02f, Col(250, 140, 180));
                        for (float v = 0.58f; v < L_ANKLE; v += 0.05f)
                            p.Band(v, v + 0.012f, Col(230, 110, 150));
                    })});
    jobs.push_back({"vesko_legTrainingApsd.tga", 128, 128, leg([](CUvPainter& p) {
                        Tights(p, Col(200, 40, 50));
                        p.Region([](float u, float v) { return std::max(SideU(u) - 0.02f, v - L_ANKLE); }, WHITE);
                        Shoes(p, WHITE, Col(60, 60, 70));
                    })});
    jobs.push_back({"vesko_legTrainingBpsd.tga", 128, 128, leg([](CUvPainter& p) {
                        Socks(p, 0.76f, WHITE);
                        Shoes(p, WHITE, Col(60, 60, 70));
                        p.Band(0.0f, 0.06f, NAVY);
                    })});
    jobs.push_back({"vesko_legYamayuri.tga", 128, 128, leg([](CUvPainter& p) {
                        Socks(p, 0.72f, WHITE);
                        Shoes(p, BLACK, Col(60, 50, 50));
                    })});
    // Necks.
    auto neck = [](std::function<void(CUvPainter&)> extra) {
        return [extra](CUvPainter& p) {
            NeckSkin(p);
            if (extra)
                extra(p);
        };
    };
    jobs.push_back({"vesko_neckCheerLeader.tga", 64, 64, neck([](CUvPainter& p) { p.Band(0.8f, 1.0f, RED); })});
    jobs.push_back({"vesko_neckEtona.tga", 64, 64, neck([](CUvPainter& p) {
                        p.Band(0.55f, 0.7f, BLACK);
                        p.Ellipse(0.5f, 0.66f, 0.05f, 0.06f, Col(150, 60, 190));
                    })});
    jobs.push_back({"vesko_neckHatan.tga", 64, 64, neck([](CUvPainter& p) { p.Band(0.72f, 1.0f, WHITE); })});
    jobs.push_back({"vesko_neckMomo.tga", 64, 64, neck([](CUvPainter& p) { p.Band(0.82f, 1.0f, WHITE); })});
    jobs.push_back({"vesko_neckTrainingA.tga", 64, 64, neck([](CUvPainter& p) {
                        p.Band(0.55f, 1.0f, Col(200, 40, 50));
                        p.Region([](float u, float v) { return std::max(FrontU(u) - 0.02f, 0.55f - v); }, WHITE);
                    })});
    jobs.push_back({"vesko_neckTrainingB.tga", 64, 64, neck([](CUvPainter& p) { p.Band(0.9f, 1.0f, NAVY); })});
    jobs.push_back({"vesko_skinArm.tga", 128, 128, arm(nullptr)});
    jobs.push_back({"vesko_skinKorvant.tga", 256, 256, [](CUvPainter& p) { MaidTop(p, Col(246, 150, 180)); }});
    jobs.push_back({"vesko_skinBody.tga", 256, 256, DefaultBody});
    jobs.push_back({"vesko_skinBodyChuchu.tga", 256, 256, Ballet});
    jobs.push_back({"vesko_skinBodyLeotard.tga", 256, 256,
                    [](CUvPainter& p) { Leotard(p, Col(130, 70, 180), Col(230, 200, 250), 0.08f); }});
    jobs.push_back({"vesko_skinBodySwim.tga", 256, 256, SchoolSwimsuit});
    jobs.push_back({"vesko_skinBodySwimNS1.tga", 256, 256, [](CUvPainter& p) {
                        Skin(p);
                        OnePiece(p, Col(250, 140, 60), 0.2f, 0.0f, 0.3f);
                        p.Region([](float u, float v) { return std::fabs(v - 0.2f - 0.004f) - 0.008f + 0 * u; }, WHITE);
                    }});
    jobs.push_back(
        {"vesko_skinBodySwimNS2.tga", 256, 256, [](CUvPainter& p) { Bikini(p, Col(60, 130, 220), WHITE, false); }});
    jobs.push_back({"vesko_skinBodySwimSholder1.tga", 256, 256,
                    [](CUvPainter& p) { Leotard(p, Col(60, 170, 110), WHITE, 0.14f); }});
    jobs.push_back({"vesko_skinBodySwimSholder2.tga", 256, 256,
                    [](CUvPainter& p) { Bikini(p, Col(250, 110, 160), Col(255, 230, 240), true); }});
    jobs.push_back(
        {"vesko_skinBodyTrainingA.tga", 256, 256, [](CUvPainter& p) { TrackJacket(p, Col(200, 40, 50), WHITE); }});
    jobs.push_back({"vesko_skinBodyTrainingB.tga", 256, 256, GymShirt});
    jobs.push_back({"vesko_skinCheerLeader.tga", 256, 256, CheerTop});
    jobs.push_back({"vesko_skinHatan.tga", 256, 256, [](CUvPainter& p) { Blazer(p, NAVY, WHITE, RED); }});
    jobs.push_back({"vesko_skinLeg.tga", 128, 128, leg(nullptr)});
    jobs.push_back({"vesko_skinMomo.tga", 256, 256, [](CUvPainter& p) { Blouse(p, Col(250, 170, 150)); }});
    jobs.push_back({"vesko_skinNeck.tga", 64, 64, neck(nullptr)});
    jobs.push_back({"vesko_skinYamayuri.tga", 256, 256, [](CUvPainter& p) { SailorDress(p, Col(36, 58, 44), WHITE); }});
    jobs.push_back({"pajamaOrange.tga", 128, 128,
                    [](CUvPainter& p) { Fabric(p, Col(250, 170, 80), Col(255, 240, 200), 1, Col(250, 170, 80)); }});
    return jobs;
}

CCanvas Shadow() {
    CCanvas c(64, 64, Col(0, 0, 0, 0));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float d = std::hypot((x + 0.5f - 32) / 32, (y + 0.5f - 32) / 32);
            float a = 0.55f * (1 - SmoothStep(0.35f, 1.0f, d));
            c.Set(x, y, Col(20, 14, 24, int(std::lround(255 * a))));
        }
    return c;
}

} // namespace

std::vector<VeskoTexture> PaintVeskoTextures() {
    std::vector<VeskoTexture> out;
    for (const Job& job : Jobs()) {
        if (!job.file) {
            out.push_back({"vesko_face." + std::to_string(job.width) + ".tga", PaintVeskoFace(job.width), false});
            continue;
        }
        if (!job.paint) {
            out.push_back({job.file, Shadow(), true});
            continue;
        }
        CUvPainter p(job.width, job.height, SKIN);
        job.paint(p);
        out.push_back({job.file, p.Canvas(), false});
    }
    return out;
}
