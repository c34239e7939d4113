#pragma once
#include <string>
#include <vector>

#include "character/act/Act.h"

// The operations of the character that callback actions reach.
class IActCallbackTarget {
public:
    virtual ~IActCallbackTarget() = default;
    virtual void ChangeAccessory(const std::vector<std::string>& words) = 0;
    virtual void ChangeCloth(const std::vector<std::string>& words) = 0;
    virtual void RoomOut(const std::vector<std::string>& words) = 0;
    virtual void Eaten(const std::vector<std::string>& words) = 0;
    virtual void OnShowCallback(const std::vector<std::string>& words) = 0;
    virtual void OnEndingCallback(const std::vector<std::string>& words) = 0;
};

// Calls one operation of its target with the request's words as it starts and
// ends in the same update.
class CActCallback : public CAct {
public:
    using Operation = void (IActCallbackTarget::*)(const std::vector<std::string>&);

    CActCallback(const std::string& name, CBoneChainNode* owner, IActCallbackTarget* target, Operation operation);

    const char* GetClassName() const override;
    bool Start(const std::vector<std::string>& words) override;
    void End() override;
    bool Update(float step, bool blending, float weight) override;
    int GetLength() override;
    int GetTime() override;

    Operation GetOperation() const { return m_operation; }

private:
    IActCallbackTarget* m_target;
    Operation m_operation;
};
