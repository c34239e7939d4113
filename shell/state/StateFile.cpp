#include "shell/state/StateFile.h"

#include <algorithm>
#include <cmath>

#include "platform/archive/ArchiveStream.h"
#include "platform/archive/FileReplace.h"

namespace {

// An item record is at least a one-byte length and a four-byte code.
const size_t ITEM_RECORD_MIN_BYTES = 5;

bool NameBytesLess(const CSavedItem* a, const CSavedItem* b) {
    return std::lexicographical_compare(a->name.begin(), a->name.end(), b->name.begin(), b->name.end(),
                                        [](char x, char y) { return uint8_t(x) < uint8_t(y); });
}

} // namespace

bool HasUsableCamera(const CSavedState& state) {
    if (!state.hasCamera || !std::isfinite(state.cameraDistance))
        return false;
    for (float coordinate : state.cameraInterest)
        if (!std::isfinite(coordinate))
            return false;
    return true;
}

void SetDefaultCamera(CSavedState& state) {
    state.cameraDistance = SAVED_CAMERA_DEFAULT_DISTANCE;
    for (float& coordinate : state.cameraInterest)
        coordinate = 0.0f;
}

std::vector<uint8_t> EncodeState(const CSavedState& state) {
    CSavedState camera;
    if (HasUsableCamera(state)) {
        camera.cameraDistance = state.cameraDistance;
        std::copy(state.cameraInterest, state.cameraInterest + 3, camera.cameraInterest);
    } else {
        SetDefaultCamera(camera);
    }
    // The file lists the items by name, whatever order the holder used.
    std::vector<const CSavedItem*> items;
    items.reserve(state.items.size());
    for (const CSavedItem& item : state.items)
        items.push_back(&item);
    std::stable_sort(items.begin(), items.end(), NameBytesLess);

    CArchiveWriter writer;
    writer.WriteUInt32(STATE_FILE_VERSION);
    writer.WriteFloat(camera.cameraDistance);
    for (float coordinate : camera.cameraInterest)
        writer.WriteFloat(coordinate);
    writer.WriteUInt32(state.money);
    writer.WriteInt32(static_cast<int32_t>(items.size()));
    for (const CSavedItem* item : items) {
        writer.WriteString(item->name);
        writer.WriteUInt32(item->stateCode);
    }
    return writer.GetBytes();
}

StateReadResult DecodeState(const uint8_t* data, size_t length, CSavedState& state, uint32_t& version) {
    CArchiveReader reader(data, length);
    uint32_t fileVersion;
    if (!reader.ReadUInt32(fileVersion))
        return SR_MALFORMED;
    if (fileVersion > STATE_FILE_VERSION)
        return SR_TOO_NEW;

    CSavedState read;
    reader.ReadFloat(read.cameraDistance);
    for (float& coordinate : read.cameraInterest)
        reader.ReadFloat(coordinate);
    reader.ReadUInt32(read.money);
    int32_t count = 0;
    reader.ReadInt32(count);
    if (reader.IsFailed())
        return SR_MALFORMED;
    // A camera value that is not a number loses only the camera.
    if (!HasUsableCamera(read)) {
        read.hasCamera = false;
        SetDefaultCamera(read);
    }

    // A count of zero or less holds no records.
    if (count > 0) {
        if (static_cast<size_t>(count) > reader.GetRemaining() / ITEM_RECORD_MIN_BYTES)
            return SR_MALFORMED;
        read.items.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i) {
            CSavedItem item;
            if (!reader.ReadString(item.name) || !reader.ReadUInt32(item.stateCode))
                return SR_MALFORMED;
            read.items.push_back(std::move(item));
        }
    }
    state = std::move(read);
    version = fileVersion;
    return SR_OK;
}

StateReadResult ReadStateFile(const char* path, CSavedState& state, uint32_t& version) {
    std::vector<uint8_t> bytes;
    switch (ReadWholeFile(path, STATE_FILE_MAX_BYTES, bytes)) {
    case FR_OK: break;
    case FR_MISSING: return SR_MISSING;
    case FR_READ_ERROR: return SR_UNREADABLE;
    default: return SR_MALFORMED;
    }
    return DecodeState(bytes.data(), bytes.size(), state, version);
}

bool WriteStateFile(const char* path, const CSavedState& state) {
    const std::vector<uint8_t> bytes = EncodeState(state);
    CReplacingFileWriter writer(path);
    return writer.Open() && writer.Write(bytes.data(), bytes.size()) && writer.Commit();
}
