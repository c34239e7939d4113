#include "character/collision/CollisionNode.h"

namespace {

FirstUpdateQuery firstUpdateQuery = nullptr;

} // namespace

void SetCollisionFirstUpdateQuery(FirstUpdateQuery query) { firstUpdateQuery = query; }

bool CollisionReportAllowed() { return !firstUpdateQuery || firstUpdateQuery(); }
