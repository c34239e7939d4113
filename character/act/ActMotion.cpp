#include "character/act/ActMotion.h"

#include <cmath>
#include <cstdlib>

#include "character/act/BoneChainNode.h"
#include "engine/anim/AnimationSet.h"
#include "engine/anim/KeyframeData.h"
#include "engine/math/MatrixStack.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"

namespace {

constexpr float INFINITE_LOOPS = 1000.0f;

} // namespace

CActMotion::CActMotion(const std::string& name, CBoneChainNode* owner, int fixedOrigin, const std::string& setName,
                       const std::string& scope)
    : CAct(name, owner, fixedOrigin),
      m_time(0.0f),
      m_frameCount(0),
      m_loops(1.0f),
      m_startX(0.0f),
      m_startY(0.0f),
      m_startZ(0.0f),
      m_startYaw(0.0f),
      m_animation(nullptr) {
    CAnimationSet* set = nullptr;
    if (CurrentResourceManager)
        set = dynamic_cast<CAnimationSet*>(CurrentResourceManager->Find(setName.c_str(), RT_ANIMATION_SET));
    if (set) {
        m_animation = set->Instantiate(scope);
        m_animationHandle = m_animation->GetHandle();
        float length = m_animation->GetLength();
        m_frameCount = length > 0.0f && std::isfinite(length) ? (int)length : 0;
        m_animation->Apply(0.0f, 1.0f, AWT_OVER_WRITE);
    } else {
        ReportMissingResource();
    }
    if (m_owner)
        m_owner->GetChainMatrix(m_referenceChain);
}

CActMotion::~CActMotion() {
    // The instance joined the registry that was current; if that registry has
    // gone first it took the instance with it.
    if (ResourceHandles().Resolve(m_animationHandle) == m_animation)
        delete m_animation;
}

const char* CActMotion::GetClassName() const { return "CActMotion"; }

bool CActMotion::Start(const std::vector<std::string>& words) {
    m_loops = 1.0f;
    float startTime = 0.0f;
    size_t next = 0;
    if (!words.empty()) {
        const std::string& word = words[0];
        if (word == "infinit") {
            m_loops = INFINITE_LOOPS;
        } else if (word == "last") {
            startTime = (float)m_frameCount;
        } else if (!word.empty() && word.back() == 't') {
            // Milliseconds; a set of no frames has no loops to fill them.
            m_loops = m_frameCount > 0 ? (float)std::atof(word.c_str()) * FRAMES_PER_MILLISECOND / m_frameCount : 0.0f;
        } else {
            m_loops = (float)std::atof(word.c_str());
        }
        next = 1;
    }
    const bool resume = next < words.size() && words[next] == "continue";
    if (resume) {
        startTime = m_time;
        if (m_frameCount > 0)
            m_loops += m_time / m_frameCount;
    }
    m_time = startTime;

    CTransform* root = m_owner ? m_owner->GetRoot() : nullptr;
    if (m_fixedOrigin) {
        m_startX = m_startY = m_startZ = m_startYaw = 0.0f;
    } else if (root && resume) {
        m_startX = root->GetChannelValue(CTransform::TC_TRANSLATION_X);
        m_startY = root->GetChannelValue(CTransform::TC_TRANSLATION_Y);
        m_startZ = root->GetChannelValue(CTransform::TC_TRANSLATION_Z);
        m_startYaw = root->GetChannelValue(CTransform::TC_ROTATION_Y);
    } else if (root) {
        CMatrix inverse;
        m_referenceChain.GetInverse(inverse);
        CMatrix chain;
        m_owner->GetChainMatrix(chain);
        CMatrix rootLocal;
        root->ComputeLocalMatrix(rootLocal);
        CMatrix step, placement;
        chain.PreMultiply(step, inverse);       // inverse, then chain
        rootLocal.PreMultiply(placement, step); // then the root
        Vec3 at = MatrixPosition(placement);
        m_startX = at.x;
        m_startZ = at.z;
        m_startYaw = MatrixYaw(placement);
        m_startY = root->GetChannelValue(CTransform::TC_TRANSLATION_Y);
    }
    return true;
}

void CActMotion::End() {}

void CActMotion::PreUpdate(bool blending) {
    if (blending && m_owner)
        m_owner->BeginRootBlend();
}

void CActMotion::PostUpdate(bool blending) {
    if (blending && m_owner)
        m_owner->EndRootBlend();
}

bool CActMotion::Update(float step, bool blending, float weight) {
    m_time += step;
    const float total = (float)m_frameCount * m_loops;
    // No frames to play (a loop count of 0 or below, or a set of no frames):
    // nothing is shown and the play ends.
    if (!(total >= 1.0f)) {
        m_time = 0.0f;
        return false;
    }
    const float end = std::floor(total) - 1.0f;
    bool running = true;
    if (m_time < 0.0f) {
        m_time = 0.0f;
        running = false;
    } else if (m_time >= end) {
        m_time = end;
        running = false;
    }
    const int frame = (int)m_time;
    if (m_animation)
        m_animation->Apply((float)frame, weight, blending ? AWT_BLEND : AWT_OVER_WRITE);

    if (!m_owner)
        return running;
    if (!blending) {
        m_owner->SetRootPlacement(m_startX, m_startY, m_startZ, m_startYaw);
    } else if (!m_owner->GetExtraNode()) {
        m_owner->AccumulateRootBlend(weight, m_startX, m_startY, m_startZ, m_startYaw);
    } else {
        auto* extra = dynamic_cast<CTransform*>(m_owner->GetExtraNode());
        float sampled[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        if (extra && m_animation) {
            const int at = frame % m_frameCount;
            const auto bindings = m_animation->GetChannelBindings(extra);
            const int attributes[4] = {AA_TRANSLATION_X, AA_TRANSLATION_Y, AA_TRANSLATION_Z, AA_ROTATION_Y};
            for (int i = 0; i < 4; ++i)
                if (CAnimationData* data = AnimationDataHandles().Resolve(bindings[attributes[i]]))
                    sampled[i] = data->Sample((float)at);
        }
        if (extra) {
            extra->SetTranslation(0.0f, 0.0f, 0.0f);
            extra->SetRotation(0.0f, 0.0f, 0.0f);
        }
        CMatrixStack stack(1);
        stack.Translate(m_startX, m_startY, m_startZ);
        stack.RotateY(m_startYaw);
        stack.Translate(sampled[0], sampled[1], sampled[2]);
        stack.RotateY(sampled[3]);
        Vec3 at = MatrixPosition(stack.Top());
        m_owner->AccumulateRootBlend(weight, at.x, at.y, at.z, MatrixYaw(stack.Top()));
    }
    return running;
}

int CActMotion::GetLength() { return (int)((float)m_frameCount * m_loops); }

int CActMotion::GetTime() { return (int)m_time; }
