#include "engine/anim/Animator.h"

#include "engine/anim/BlendPass.h"
#include "engine/anim/ChangeStamp.h"
#include "engine/anim/Channel.h"
#include "engine/anim/KeyframeData.h"
#include "engine/resource/ResourceManager.h"

HandleTable<CAnimator>& AnimatorHandles() {
    static HandleTable<CAnimator> table;
    return table;
}

CAnimator::CAnimator(const char* name) : CResource(name, RT_ANIMATOR), m_attribute(0) {
    m_animatorHandle = AnimatorHandles().Register(this);
}

CAnimator::~CAnimator() { AnimatorHandles().Release(m_animatorHandle.index); }

void CAnimator::SetTarget(CResource* target, int attribute, CAnimationData* data) {
    m_attribute = attribute;
    if (!target || !data) {
        m_target = NULL_HANDLE;
        m_channel = NULL_HANDLE;
        m_data = NULL_HANDLE;
        return;
    }
    m_target = target->GetHandle();
    m_channel = target->GetChannel(attribute);
    m_data = data->GetDataHandle();
}

void CAnimator::Apply(float time, float weight, int writeType) {
    CChannel* channel = ChannelHandles().Resolve(m_channel);
    CAnimationData* data = AnimationDataHandles().Resolve(m_data);
    if (!channel || !data)
        return;

    if (writeType == AWT_BLEND && m_attribute == AA_FRAME_EXTENSION) {
        data->AccumulateStep(channel->m_value, time, weight, true);
    } else if (writeType == AWT_BLEND) {
        int32_t pass = BlendPassStamp();
        if (channel->m_passStamp != pass) {
            channel->m_weight = 0.0f;
            AddTouchedChannel(m_channel);
        }
        float old = channel->m_weight;
        channel->m_weight = old + weight;
        channel->m_passStamp = pass;
        if (old == 0.0f)
            data->AccumulateLinear(channel->m_value, time, weight, false);
        else if (m_attribute == AA_ROTATION_X || m_attribute == AA_ROTATION_Y || m_attribute == AA_ROTATION_Z)
            data->AccumulateAngle(channel->m_value, time, weight, true, channel->m_weight);
        else
            data->AccumulateLinear(channel->m_value, time, weight, true);
    } else {
        data->AccumulateLinear(channel->m_value, time, weight, false);
    }

    if (CChangeStamp* notifier = CChannel::GetNotifier(m_channel))
        notifier->Touch();
}

CAnimator* CAnimator::Bind(const std::string& scope) const {
    CAnimator* bound = new CAnimator((GetName() + scope).c_str());
    CResource* target = ResourceHandles().Resolve(m_target);
    CAnimationData* data = AnimationDataHandles().Resolve(m_data);
    CResource* scoped = nullptr;
    if (target && CurrentResourceManager) {
        int kind = target->GetKind();
        std::string name = target->GetName();
        if (kind != RT_TEXTURE && kind != RT_SHADER)
            name += scope;
        scoped = CurrentResourceManager->Find(name.c_str(), kind);
    }
    bound->SetTarget(scoped, m_attribute, data);
    return bound;
}
