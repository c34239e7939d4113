#pragma once
#include <cmath>
#include <limits>

#include "engine/anim/AnimAttribute.h"
#include "engine/anim/ChangeStamp.h"
#include "engine/anim/Channel.h"
#include "engine/resource/Resource.h"
#include "engine/resource/ResourceManager.h"

// A resource with one channel for every attribute up to the translucency, and
// a change stamp that counts its touches.
struct AnimTestTarget : CResource, CChangeStamp {
    AnimTestTarget(const char* name, int kind = RT_TRANSFORM) : CResource(name, kind) {
        for (int i = 0; i < ANIM_ATTRIBUTE_COUNT; ++i)
            channels[i] = new CChannel(this, 0.0f);
    }
    ~AnimTestTarget() override {
        for (CChannel* c : channels)
            delete c;
    }
    CHandle GetChannel(int attribute) override {
        return IsValidAnimAttribute(attribute) ? channels[attribute]->GetHandle() : NULL_HANDLE;
    }
    void Touch() override {
        ++touches;
        CChangeStamp::Touch();
    }
    float Value(int attribute) const { return channels[attribute]->m_value; }
    void SetValue(int attribute, float v) { channels[attribute]->m_value = v; }

    CChannel* channels[ANIM_ATTRIBUTE_COUNT];
    int touches = 0;
};

// Makes its own registry current for the test.
struct AnimRegistry {
    AnimRegistry() : saved(CurrentResourceManager) { CurrentResourceManager = &registry; }
    ~AnimRegistry() { CurrentResourceManager = saved; }
    CResourceManager* saved;
    CResourceManager registry;
};

constexpr float INF = std::numeric_limits<float>::infinity();
const float NOT_A_NUMBER = std::numeric_limits<float>::quiet_NaN();
