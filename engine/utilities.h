// Random numbers, decimal formatting, scrambled save texts, '#' data fields,
// whole files.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/files.h"
#include "platform/types.h"

namespace qv {

// The C library's generator of the handheld: 0..32767.
void SeedRandom(uint32_t seed);
int Rand();
// 0 to n - 1 (n at least 1).
int RandomBelow(int n);

WString FormatUShort(uint16_t value);
WString FormatUInt(uint32_t value);
WString FormatSChar(int8_t value);
WString FormatShort(int16_t value);
WString FormatInt(int32_t value);
WString FormatIntPadded(int32_t value, int width);

// Scrambled text, in save files: int16 count, then each character's low
// byte XOR 0xA7 (characters above 255 lose their high byte).
// True when every byte reached the file.
bool WriteScrambledText(platform::FileHandle file, WString text);
// A negative count gives the empty text, a file that ends early the shorter one.
WString ReadScrambledText(platform::FileHandle file);
// The checked reading: false, text untouched, for a count outside
// 0..maxLength or a file that ends early.
bool ReadScrambledText(platform::FileHandle file, int maxLength, WString& text);

// '#'-enclosed fields of the data files. The cursor advances past the
// closing '#'; at the end of the buffer an empty field / 0 is given.
WString ReadHashField(std::span<const uint8_t> buffer, size_t& cursor);
int ReadHashNumber(std::span<const uint8_t> buffer, size_t& cursor);

// The whole file's bytes; empty when it cannot be opened, is empty or
// cannot be read to its end.
std::vector<uint8_t> ReadWholeFile(const WString& path);

}  // namespace qv
