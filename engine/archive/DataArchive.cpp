#include "engine/archive/DataArchive.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "engine/archive/ArchiveKey.h"
#include "engine/archive/DataFolder.h"

namespace {
// Entries of no bytes still answer a non-null pointer, so that they are found.
const uint8_t EMPTY_ENTRY[1] = {0};

ArchiveEntry Answer(const uint8_t* data, size_t size) { return {size ? data : EMPTY_ENTRY, uint32_t(size)}; }
} // namespace

void DescrambleArchive(uint8_t* bytes, size_t size, uint32_t key) {
    // A word at a time: the key's bytes in file order form one pattern word,
    // and memcpy keeps unaligned buffers well defined.
    const uint8_t k[4] = {uint8_t(key), uint8_t(key >> 8), uint8_t(key >> 16), uint8_t(key >> 24)};
    uint32_t pattern;
    std::memcpy(&pattern, k, 4);
    const size_t words = size / 4;
    for (size_t i = 0; i < words; ++i) {
        uint32_t word;
        std::memcpy(&word, bytes + 4 * i, 4);
        word ^= pattern;
        std::memcpy(bytes + 4 * i, &word, 4);
    }
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (path.empty())
        return false;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    bool ok = false;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        long size = std::ftell(file);
        if (size >= 0 && uint64_t(size) <= UINT32_MAX && uint64_t(size) <= SIZE_MAX &&
            std::fseek(file, 0, SEEK_SET) == 0) {
            // A file too large for memory is a failed read, not the end of the program.
            try {
                bytes.resize(size_t(size));
                ok = true;
            } catch (const std::bad_alloc&) {
                ok = false;
            }
            ok = ok && (size == 0 || std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size());
            // A file that grew while it was read is not the file that was sized.
            if (ok && std::fgetc(file) != EOF)
                ok = false;
        }
    }
    std::fclose(file);
    if (!ok)
        std::vector<uint8_t>().swap(bytes);
    return ok;
}

CDataArchive::CDataArchive(const ArchiveDescriptor& descriptor) {
    if (!descriptor.fileName || !ReadWholeFile(DataFilePath(descriptor.fileName), m_buffer))
        return;
    DescrambleArchive(m_buffer.data(), m_buffer.size(), descriptor.key);
    if (!descriptor.directory)
        return;
    for (const ArchiveEntryRow* row = descriptor.directory; row->key; ++row) {
        // A short or replaced archive file: rows past its bytes are not served.
        if (row->offset > m_buffer.size() || row->size > m_buffer.size() - row->offset)
            continue;
        m_directory.emplace(row->key, Span{row->offset, row->size});
    }
}

CDataArchive::~CDataArchive() = default;

ArchiveEntry CDataArchive::GetEntry(const std::string& path) {
    if (path.empty())
        return {nullptr, 0};
    std::string key = MakeArchiveKey(path);
    auto cached = m_looseFiles.find(key);
    if (cached == m_looseFiles.end()) {
        std::unique_ptr<std::vector<uint8_t>> loose(new std::vector<uint8_t>);
        // A file that cannot be read whole counts as absent: its archive copy,
        // if any, is served rather than a file with a zeroed tail.
        if (!ReadWholeFile(DataFilePath(path), *loose))
            loose.reset();
        cached = m_looseFiles.emplace(key, std::move(loose)).first;
    }
    if (cached->second)
        return Answer(cached->second->data(), cached->second->size());
    auto row = m_directory.find(key);
    if (row != m_directory.end())
        return Answer(m_buffer.data() + row->second.offset, row->second.size);
    return {nullptr, 0};
}
