#pragma once
#include <cstdint>

#include "engine/archive/DataArchive.h"

// The compiled table of data archives: 17 archive files in five kinds. The
// file names are fixed here; each archive's key and directory are generated
// by the archive packer at build time into a source of the build tree.
enum ArchiveKind {
    AK_MODEL = 0,
    AK_TEXTURE,
    AK_ANIMATION,
    AK_CLIPPER,
    AK_SOUND,
};
constexpr int ARCHIVE_KIND_COUNT = 5;
constexpr int ARCHIVE_SLOT_COUNT = 17;

// Archives of a kind (5, 5, 4, 1, 2); 0 for a kind outside the table.
int ArchiveCountOfKind(int kind);
// The slot of (kind, index) in the table, or -1 when either is out of range.
int ArchiveSlot(int kind, int index);
// "model/model00.bin" ...; null for a slot outside the table.
const char* ArchiveFileName(int slot);
// The row of the compiled table; null for (kind, index) outside it.
const ArchiveDescriptor* GetArchiveDescriptor(int kind, int index);

// Defined by the generated source, one per slot. A null directory has no rows.
extern const uint32_t GENERATED_ARCHIVE_KEYS[ARCHIVE_SLOT_COUNT];
extern const ArchiveEntryRow* const GENERATED_ARCHIVE_DIRECTORIES[ARCHIVE_SLOT_COUNT];
