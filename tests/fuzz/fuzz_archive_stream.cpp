// The archive stream's reads, in an order taken from the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/archive/ArchiveStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const uint8_t plan = data[0];
    CArchiveReader reader(data + 1, size - 1);
    for (int step = 0; step < 64; ++step) {
        bool ok = true;
        switch ((plan >> (step % 4 * 2) ^ step) & 7) {
        case 0: {
            uint8_t v;
            ok = reader.ReadUInt8(v);
            break;
        }
        case 1: {
            uint16_t v;
            ok = reader.ReadUInt16(v);
            break;
        }
        case 2: {
            uint32_t v;
            ok = reader.ReadUInt32(v);
            break;
        }
        case 3: {
            int32_t v;
            ok = reader.ReadInt32(v);
            break;
        }
        case 4: {
            float v;
            ok = reader.ReadFloat(v);
            break;
        }
        default: {
            std::string s;
            ok = reader.ReadString(s);
            break;
        }
        }
        if (!ok)
            break;
    }
    return 0;
}
