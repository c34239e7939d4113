#pragma once
#include <cstdarg>
#include <cstddef>
#include <cstdint>

// Reads the fields of a signature, in order, from a record of `length`
// bytes: one output per letter, int32_t* for "l", float* for "f", uint16_t*
// for "w" and a char buffer of CHUNK_TEXT_BUFFER bytes for "s". Any other
// character reads nothing and takes no output. Answers the bytes consumed,
// or -1 when a field would run past the end or a text has no zero inside
// its buffer and its record (the outputs read so far are then filled, the
// rest untouched).
long UnpackFields(const void* source, size_t length, const char* signature, ...);
long UnpackFieldsV(const void* source, size_t length, const char* signature, va_list outputs);

// Bytes a text of `textLength` bytes takes in a record: the text, its zero and
// padding up to a multiple of four.
inline size_t PaddedTextSize(size_t textLength) { return textLength / 4 * 4 + 4; }
