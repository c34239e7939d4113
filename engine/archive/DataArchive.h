#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A row of a compiled archive directory. A directory ends with a row whose
// key is null; rows run in ascending offset order from offset 0.
struct ArchiveEntryRow {
    uint32_t offset;
    uint32_t size;
    const char* key;
};

// A row of the compiled archive table: the file, relative to the data
// folder, its scrambling key and its directory (null: no entries).
struct ArchiveDescriptor {
    const char* fileName;
    uint32_t key;
    const ArchiveEntryRow* directory;
};

// The result of a lookup: {null, 0} when nothing was found. The bytes belong
// to the archive that answered and stay valid while it exists.
struct ArchiveEntry {
    const uint8_t* data;
    uint32_t size;
};

// XOR of every complete 4-byte word with the key taken as a little-endian
// word; the 1 to 3 bytes of a last incomplete word stay as they are. The
// same operation scrambles and descrambles.
void DescrambleArchive(uint8_t* bytes, size_t size, uint32_t key);

// Reads a whole file into `bytes`: true only when its size is known and every
// byte was read. On failure `bytes` is left empty.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// One data archive held in memory: the whole file read with one sequential
// read and descrambled in place, its compiled directory as a map, and the
// loose files found at asked-for paths. Whoever opens an archive owns it;
// the entries it hands out die with it.
class CDataArchive {
public:
    // Reads the descriptor's file from the data folder. A file that cannot be
    // opened or read whole gives an empty archive that finds only loose files.
    explicit CDataArchive(const ArchiveDescriptor& descriptor);
    virtual ~CDataArchive();

    // A loose file at the path (relative to the data folder) first, then the
    // archive's entry for the path's key, else {null, 0}. The disk is asked
    // once per key; an absent file stays absent for the archive's life.
    ArchiveEntry GetEntry(const std::string& path);

    size_t GetBufferSize() const { return m_buffer.size(); }
    // Directory rows that were kept: rows reaching past the bytes read are not.
    size_t GetEntryCount() const { return m_directory.size(); }

    CDataArchive(const CDataArchive&) = delete;
    CDataArchive& operator=(const CDataArchive&) = delete;

private:
    struct Span {
        uint32_t offset;
        uint32_t size;
    };

    std::vector<uint8_t> m_buffer;
    std::map<std::string, Span> m_directory;
    // Null marks a path that was looked for and not found.
    std::map<std::string, std::unique_ptr<std::vector<uint8_t>>> m_looseFiles;
};
