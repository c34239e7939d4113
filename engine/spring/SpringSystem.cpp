#include "engine/spring/SpringSystem.h"

#include <cmath>
#include <cstring>

#include "engine/spring/SpringGravity.h"

namespace {

float Distance(const float* p, const float* q) {
    float dx = p[0] - q[0];
    float dy = p[1] - q[1];
    float dz = p[2] - q[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

CSpringSystem::CSpringSystem() { ResetSpringGravity(); }

CSpringSystem::~CSpringSystem() { Release(); }

bool CSpringSystem::Allocate(int maxPoints, int maxLinks) {
    return AllocatePoints(maxPoints) && AllocateLinks(maxLinks);
}

bool CSpringSystem::AllocatePoints(int maxPoints) {
    delete[] m_points;
    m_points = nullptr;
    m_pointCount = 0;
    m_pointCapacity = 0;
    if (maxPoints < 0)
        return false;
    if (maxPoints > 0)
        m_points = new Point[maxPoints];
    m_pointCapacity = maxPoints;
    return true;
}

bool CSpringSystem::AllocateLinks(int maxLinks) {
    delete[] m_links;
    m_links = nullptr;
    m_linkCount = 0;
    m_linkCapacity = 0;
    if (maxLinks < 0)
        return false;
    if (maxLinks > 0)
        m_links = new Link[maxLinks];
    m_linkCapacity = maxLinks;
    return true;
}

int CSpringSystem::AddPoint(float* livePosition) {
    if (!livePosition || m_pointCount >= m_pointCapacity)
        return -1;
    Point& p = m_points[m_pointCount];
    p.position = livePosition;
    std::memcpy(p.previous, livePosition, sizeof p.previous);
    return m_pointCount++;
}

bool CSpringSystem::LinkLive(const Link& link) const {
    return link.a >= 0 && link.a < m_pointCount && link.b >= 0 && link.b < m_pointCount;
}

bool CSpringSystem::AddLink(int a, int b, float factor) {
    if (m_linkCount >= m_linkCapacity)
        return false;
    Link& link = m_links[m_linkCount++];
    link.a = a;
    link.b = b;
    link.stiffness = factor * 0.5f;
    link.restLength = LinkLive(link) ? Distance(m_points[a].position, m_points[b].position) : 0.0f;
    return true;
}

void CSpringSystem::ResetRestLengths() {
    for (int i = 0; i < m_linkCount; ++i) {
        Link& link = m_links[i];
        link.restLength = LinkLive(link) ? Distance(m_points[link.a].position, m_points[link.b].position) : 0.0f;
    }
}

bool CSpringSystem::LinksWithin(int count) const {
    for (int i = 0; i < m_linkCount; ++i) {
        const Link& link = m_links[i];
        if (link.a < 0 || link.a >= count || link.b < 0 || link.b >= count)
            return false;
    }
    return true;
}

void CSpringSystem::Integrate() {
    const Vec3& gravity = GetSpringGravity();
    const float perStep = 1.0f / static_cast<float>(m_substeps);
    const float g[3] = {gravity.x * perStep, gravity.y * perStep, gravity.z * perStep};
    for (int i = 0; i < m_pointCount; ++i) {
        Point& p = m_points[i];
        for (int c = 0; c < 3; ++c) {
            float v = p.position[c] - p.previous[c];
            p.previous[c] = p.position[c];
            p.position[c] = p.position[c] + v * m_damping + g[c];
        }
    }
}

void CSpringSystem::RelaxLinks() {
    for (int i = 0; i < m_linkCount; ++i) {
        const Link& link = m_links[i];
        if (!LinkLive(link))
            continue;
        float* pa = m_points[link.a].position;
        float* pb = m_points[link.b].position;
        float d[3] = {pa[0] - pb[0], pa[1] - pb[1], pa[2] - pb[2]};
        float len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (len == 0.0f)
            continue;
        float k = (link.restLength - len) / len * link.stiffness;
        for (int c = 0; c < 3; ++c) {
            pa[c] += k * d[c];
            pb[c] -= k * d[c];
        }
    }
}

void CSpringSystem::Step() {
    Integrate();
    RelaxLinks();
}

void CSpringSystem::SnapShortLinks() {
    for (int i = 0; i < m_linkCount; ++i) {
        const Link& link = m_links[i];
        if (!LinkLive(link) || link.restLength > SNAP_LENGTH)
            continue;
        std::memcpy(m_points[link.a].position, m_points[link.b].position, 3 * sizeof(float));
    }
}

void CSpringSystem::Assign(const CSpringSystem& other) {
    if (&other == this)
        return;
    AllocatePoints(other.m_pointCapacity);
    AllocateLinks(other.m_linkCapacity);
    if (other.m_pointCount > 0)
        std::memcpy(m_points, other.m_points, sizeof(Point) * other.m_pointCount);
    if (other.m_linkCount > 0)
        std::memcpy(m_links, other.m_links, sizeof(Link) * other.m_linkCount);
    m_pointCount = other.m_pointCount;
    m_linkCount = other.m_linkCount;
    m_damping = other.m_damping;
    m_substeps = other.m_substeps;
}

void CSpringSystem::Release() {
    delete[] m_points;
    delete[] m_links;
    m_points = nullptr;
    m_links = nullptr;
    m_pointCount = m_linkCount = 0;
    m_pointCapacity = m_linkCapacity = 0;
}

int CSpringSystem::RequestedSubsteps(float frameTimeMs, int substeps) {
    if (substeps <= 0)
        return 1;
    float steps = frameTimeMs / (16.666666f / static_cast<float>(substeps));
    // A negative, NaN or huge frame time must not reach the integer conversion.
    if (!(steps >= 0.0f))
        return 1;
    if (steps > 1.0e6f)
        steps = 1.0e6f;
    return static_cast<int>(steps) + 1;
}

int CSpringSystem::FrameSubsteps(float frameTimeMs, int substeps) {
    int asked = RequestedSubsteps(frameTimeMs, substeps);
    int cap = substeps * 3;
    if (cap < 1)
        cap = 1;
    return asked < cap ? asked : cap;
}
