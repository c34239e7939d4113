#include "character/act/Act.h"

CAct::CAct(const std::string& name, CBoneChainNode* owner, int fixedOrigin)
    : m_name(name),
      m_fixedOrigin(fixedOrigin),
      m_owner(owner) {}

CAct::~CAct() = default;

void CAct::PreUpdate(bool) {}

void CAct::PostUpdate(bool) {}
