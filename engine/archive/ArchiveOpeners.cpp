#include "engine/archive/ArchiveOpeners.h"

#include <new>

#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataArchive.h"

CDataArchive* OpenArchive(int kind, int index) {
    const ArchiveDescriptor* descriptor = GetArchiveDescriptor(kind, index);
    if (!descriptor)
        return nullptr;
    return new (std::nothrow) CDataArchive(*descriptor);
}

CDataArchive* OpenModelArchive(int index) { return OpenArchive(AK_MODEL, index); }
CDataArchive* OpenAnimationArchive(int index) { return OpenArchive(AK_ANIMATION, index); }
CDataArchive* OpenClipperArchive(int index) { return OpenArchive(AK_CLIPPER, index); }
CDataArchive* OpenSoundArchive(int index) { return OpenArchive(AK_SOUND, index); }
