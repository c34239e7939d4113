#include "engine/chunk/FieldUnpack.h"

#include <cstring>

#include "engine/chunk/ChunkRecords.h"
#include "engine/core/LittleEndian.h"

long UnpackFieldsV(const void* source, size_t length, const char* signature, va_list outputs) {
    const uint8_t* at = static_cast<const uint8_t*>(source);
    size_t left = source ? length : 0;
    size_t used = 0;
    for (const char* letter = signature; *letter; ++letter) {
        switch (*letter) {
        case 'l': {
            if (left < 4)
                return -1;
            uint32_t word = ReadLe32(at);
            int32_t value;
            std::memcpy(&value, &word, 4);
            *va_arg(outputs, int32_t*) = value;
            at += 4, left -= 4, used += 4;
            break;
        }
        case 'f': {
            if (left < 4)
                return -1;
            uint32_t word = ReadLe32(at);
            float value;
            std::memcpy(&value, &word, 4);
            *va_arg(outputs, float*) = value;
            at += 4, left -= 4, used += 4;
            break;
        }
        case 'w': {
            if (left < 2)
                return -1;
            *va_arg(outputs, uint16_t*) = ReadLe16(at);
            at += 2, left -= 2, used += 2;
            break;
        }
        case 's': {
            // The zero must lie inside both the record and the text buffer, and
            // the padding that follows it inside the record.
            size_t window = left < CHUNK_TEXT_BUFFER ? left : CHUNK_TEXT_BUFFER;
            const void* zero = window ? std::memchr(at, 0, window) : nullptr;
            if (!zero)
                return -1;
            size_t textLength = static_cast<const uint8_t*>(zero) - at;
            size_t field = PaddedTextSize(textLength);
            if (field > left)
                return -1;
            char* out = va_arg(outputs, char*);
            std::memcpy(out, at, textLength + 1);
            at += field, left -= field, used += field;
            break;
        }
        default: break;
        }
    }
    return long(used);
}

long UnpackFields(const void* source, size_t length, const char* signature, ...) {
    va_list outputs;
    va_start(outputs, signature);
    long used = UnpackFieldsV(source, length, signature, outputs);
    va_end(outputs);
    return used;
}
