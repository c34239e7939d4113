#pragma once
#include <string>
#include <vector>

class CActPlayer;
class CBoneChainNode;
class CItemRegistry;
class IActCallbackTarget;
class IModulateColorTarget;

enum ActionClass {
    AC_MOTION,
    AC_MOTION_MOVE,
    AC_MOTION_LINKED,
    AC_WAIT,
    AC_FADE_COLOR,
    AC_CALLBACK,
};

// Where a linked motion's node comes from: a node of the models by name, or
// the carried ("<model>Handling") or resting ("<model>Init") node of the
// goods item of that catalogue name.
enum LinkSource {
    LINK_NONE,
    LINK_NODE,
    LINK_ITEM_CARRIED,
    LINK_ITEM_RESTING,
};

enum CallbackTarget {
    CB_NONE,
    CB_CHANGE_ACCESSORY,
    CB_CHANGE_CLOTH,
    CB_ROOM_OUT,
    CB_EATEN,
    CB_SHOW,
    CB_ENDING,
};

struct LinkRef {
    LinkSource source;
    const char* name;
};

struct ActionPrototypeRow {
    const char* name;
    ActionClass actionClass;
    int fixedOrigin;
    const char* animationSet; // motions only
    float speed;              // walks only
    LinkRef parent;           // linked motions only
    LinkRef moved;
    unsigned char attachAtEnd;
    CallbackTarget callback; // callbacks only
};

// The character's prototypes in registration order.
const std::vector<ActionPrototypeRow>& ActionPrototypeTable();
const ActionPrototypeRow* FindActionPrototypeRow(const std::string& name);

struct PrototypeContext {
    CBoneChainNode* owner = nullptr;
    std::string scope;
    CItemRegistry* items = nullptr;          // goods whose nodes linked motions move
    IActCallbackTarget* callbacks = nullptr; // the character
    IModulateColorTarget* renderer = nullptr;
};

// Builds every row and registers it in the player, in table order; answers
// how many the player took.
int RegisterActionPrototypes(CActPlayer& player, const PrototypeContext& context);
