#include "engine/archive/ArchiveTable.h"

namespace {
const int KIND_COUNTS[ARCHIVE_KIND_COUNT] = {5, 5, 4, 1, 2};

// In slot order: the kinds in table order, each kind's archives by index.
const char* const FILE_NAMES[ARCHIVE_SLOT_COUNT] = {
    "model/model00.bin",         "model/model01.bin",         "model/model02.bin",         "model/model03.bin",
    "model/model04.bin",         "model/texture00.bin",       "model/texture01.bin",       "model/texture02.bin",
    "model/texture03.bin",       "model/texture04.bin",       "animation/animation00.bin", "animation/animation01.bin",
    "animation/animation02.bin", "animation/animation03.bin", "clipper/clipper00.bin",     "sound/sound00.bin",
    "sound/sound01.bin",
};
} // namespace

int ArchiveCountOfKind(int kind) { return kind >= 0 && kind < ARCHIVE_KIND_COUNT ? KIND_COUNTS[kind] : 0; }

int ArchiveSlot(int kind, int index) {
    if (index < 0 || index >= ArchiveCountOfKind(kind))
        return -1;
    int slot = index;
    for (int k = 0; k < kind; ++k)
        slot += KIND_COUNTS[k];
    return slot;
}

const char* ArchiveFileName(int slot) { return slot >= 0 && slot < ARCHIVE_SLOT_COUNT ? FILE_NAMES[slot] : nullptr; }

const ArchiveDescriptor* GetArchiveDescriptor(int kind, int index) {
    // Built on first use: the keys and directories live in another source.
    static const struct Table {
        ArchiveDescriptor rows[ARCHIVE_SLOT_COUNT];
        Table() {
            for (int slot = 0; slot < ARCHIVE_SLOT_COUNT; ++slot)
                rows[slot] = {FILE_NAMES[slot], GENERATED_ARCHIVE_KEYS[slot], GENERATED_ARCHIVE_DIRECTORIES[slot]};
        }
    } table;
    int slot = ArchiveSlot(kind, index);
    return slot < 0 ? nullptr : &table.rows[slot];
}
