#include "shell/state/StateFile.h"

#include <cmath>

#include "platform/archive/ArchiveStream.h"
#include "platform/archive/FileReplace.h"

namespace {

// An item record is at least a one-byte length and a four-byte code.
const size_t ITEM_RECORD_MIN_BYTES = 5;

} // namespace

std::vector<uint8_t> EncodeState(const CSavedState& state) {
    CArchiveWriter writer;
    writer.WriteUInt32(STATE_FILE_VERSION);
    writer.WriteFloat(state.cameraDistance);
    for (float coordinate : state.cameraInterest)
        writer.WriteFloat(coordinate);
    writer.WriteUInt32(state.money);
    writer.WriteInt32(static_cast<int32_t>(state.items.size()));
    for (const CSavedItem& item : state.items) {
        writer.WriteString(item.name);
        writer.WriteUInt32(item.stateCode);
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
    if (!std::isfinite(read.cameraDistance))
        return SR_MALFORMED;
    for (float coordinate : read.cameraInterest)
        if (!std::isfinite(coordinate))
            return SR_MALFORMED;

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
    default: return SR_MALFORMED;
    }
    return DecodeState(bytes.data(), bytes.size(), state, version);
}

bool WriteStateFile(const char* path, const CSavedState& state) {
    const std::vector<uint8_t> bytes = EncodeState(state);
    CReplacingFileWriter writer(path);
    return writer.Open() && writer.Write(bytes.data(), bytes.size()) && writer.Commit();
}
