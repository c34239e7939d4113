#pragma once

class CDataArchive;

// A new archive for one row of the compiled table; the caller owns and
// deletes it. Null for an index outside the kind's rows or when the archive
// cannot be allocated.
CDataArchive* OpenModelArchive(int index);     // 0 to 4
CDataArchive* OpenAnimationArchive(int index); // 0 to 3
CDataArchive* OpenClipperArchive(int index);   // 0
CDataArchive* OpenSoundArchive(int index);     // 0 to 1
// Any kind of the table (ArchiveKind).
CDataArchive* OpenArchive(int kind, int index);
