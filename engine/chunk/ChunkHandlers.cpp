#include "engine/chunk/ChunkHandlers.h"

namespace {
ChunkHandlerTable& Handlers() {
    static ChunkHandlerTable table;
    return table;
}
} // namespace

void SetChunkHandler(GeometryHandler handler) { Handlers().geometry = handler; }
void SetChunkHandler(ShaderHandler handler) { Handlers().shader = handler; }
void SetChunkHandler(ShapeHandler handler) { Handlers().shape = handler; }
void SetChunkHandler(TextureHandler handler) { Handlers().texture = handler; }
void SetChunkHandler(TransformHandler handler) { Handlers().transform = handler; }
void SetChunkHandler(AnimatorHandler handler) { Handlers().animator = handler; }
void SetChunkHandler(AnimationDataHandler handler) { Handlers().animationData = handler; }
void SetChunkHandler(AnimationSetHandler handler) { Handlers().animationSet = handler; }
void SetChunkHandler(HierarchyHandler handler) { Handlers().hierarchy = handler; }
void SetChunkHandler(BoneHandler handler) { Handlers().bone = handler; }
void ClearChunkHandlers() { Handlers() = ChunkHandlerTable(); }
const ChunkHandlerTable& GetChunkHandlers() { return Handlers(); }
