#pragma once
#include "engine/chunk/ChunkRecords.h"

// Where each record kind meets the class that makes its resource. The
// walker reads and checks a record, then hands it to the handler of its
// kind; a kind with no handler is read, checked and skipped. Each area
// registers the handlers of its classes once at start (as
// RegisterSceneChunkHandlers does); the handlers run while
// CurrentResourceManager is the walk's registry. Process-wide, main thread only.
using GeometryHandler = void (*)(const GeometryRecord&);
using ShaderHandler = void (*)(const ShaderRecord&);
using ShapeHandler = void (*)(const ShapeRecord&);
using TextureHandler = void (*)(const TextureRecord&);
using TransformHandler = void (*)(const TransformRecord&);
using AnimatorHandler = void (*)(const AnimatorRecord&);
using AnimationDataHandler = void (*)(const AnimationDataRecord&);
using AnimationSetHandler = void (*)(const AnimationSetRecord&);
using HierarchyHandler = void (*)(const HierarchyRecord&);
using BoneHandler = void (*)(const BoneRecord&);

// One overload per record kind; null removes the handler.
void SetChunkHandler(GeometryHandler handler);
void SetChunkHandler(ShaderHandler handler);
void SetChunkHandler(ShapeHandler handler);
void SetChunkHandler(TextureHandler handler);
void SetChunkHandler(TransformHandler handler);
void SetChunkHandler(AnimatorHandler handler);
void SetChunkHandler(AnimationDataHandler handler);
void SetChunkHandler(AnimationSetHandler handler);
void SetChunkHandler(HierarchyHandler handler);
void SetChunkHandler(BoneHandler handler);
void ClearChunkHandlers();

struct ChunkHandlerTable {
    GeometryHandler geometry = nullptr;
    ShaderHandler shader = nullptr;
    ShapeHandler shape = nullptr;
    TextureHandler texture = nullptr;
    TransformHandler transform = nullptr;
    AnimatorHandler animator = nullptr;
    AnimationDataHandler animationData = nullptr;
    AnimationSetHandler animationSet = nullptr;
    HierarchyHandler hierarchy = nullptr;
    BoneHandler bone = nullptr;
};
const ChunkHandlerTable& GetChunkHandlers();
