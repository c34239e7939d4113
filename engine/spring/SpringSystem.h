#pragma once

// A small position-based solver: points that fall under the spring gravity and
// links that hold pairs of them at their rest lengths. The points do not own
// their positions; each refers to three live floats (a vertex of a working
// vertex copy, a hair node's point), so the solver moves them in place.
//
// The owner allocates the capacity once; adds beyond it are refused. Links may
// be added before their points exist (a model's link table is read before the
// vertices are bound), so a link that names a point beyond the point count is
// kept but takes no part in relaxing or snapping until its points exist.
class CSpringSystem {
public:
    struct Point {
        float* position;
        float previous[3];
    };
    struct Link {
        int a;
        int b;
        float stiffness;
        float restLength;
    };

    static constexpr int DEFAULT_SUBSTEPS = 5;
    // Rest lengths at or below this pin point a onto point b.
    static constexpr float SNAP_LENGTH = 0.01f;

    // Also puts the spring gravity back to its default.
    CSpringSystem();
    ~CSpringSystem();
    CSpringSystem(const CSpringSystem&) = delete;
    CSpringSystem& operator=(const CSpringSystem&) = delete;

    // Each drops what was there before; false when the capacity is negative.
    bool Allocate(int maxPoints, int maxLinks);
    bool AllocatePoints(int maxPoints);
    bool AllocateLinks(int maxLinks);

    // Index of the new point, or -1 when the array is full or the pointer null.
    int AddPoint(float* livePosition);
    // Stiffness = factor / 2, rest length = the present distance (0 while a or
    // b names no point yet). False when the link array is full.
    bool AddLink(int a, int b, float factor);
    // Rest length = present distance for links between existing points, else 0.
    void ResetRestLengths();
    // True when every link names points below count (a model's link table
    // against its vertex count).
    bool LinksWithin(int count) const;

    void SetDamping(float factor) { m_damping = factor; }
    float GetDamping() const { return m_damping; }
    int GetSubsteps() const { return m_substeps; }
    int GetPointCount() const { return m_pointCount; }
    int GetLinkCount() const { return m_linkCount; }
    const Link& GetLink(int index) const { return m_links[index]; }
    const Point& GetPoint(int index) const { return m_points[index]; }

    // Verlet step of every point: keep damping × velocity, add gravity / substeps.
    void Integrate();
    // One pass over the links in order; later links see earlier corrections.
    void RelaxLinks();
    void Step();
    // Pins a onto b for every link whose rest length is at most SNAP_LENGTH.
    void SnapShortLinks();

    // Copies both arrays (pointers included), the counts, damping and substeps.
    void Assign(const CSpringSystem& other);
    void Release();

    // Sub-steps a frame of frameTimeMs asks for (one per nominal sub-step
    // interval, plus one), capped at three times the nominal count so that a
    // long frame cannot stall the loop.
    static int FrameSubsteps(float frameTimeMs, int substeps);
    static int RequestedSubsteps(float frameTimeMs, int substeps);

private:
    bool LinkLive(const Link& link) const;

    Point* m_points = nullptr;
    int m_pointCount = 0;
    Link* m_links = nullptr;
    int m_linkCount = 0;
    float m_damping = 0.0f;
    int m_substeps = DEFAULT_SUBSTEPS;
    int m_pointCapacity = 0;
    int m_linkCapacity = 0;
};
