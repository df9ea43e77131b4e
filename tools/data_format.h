// The data-file encodings: little-endian integers, '#' fields and the 0x3D scrambling.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::tools {

inline constexpr uint8_t kDataFileKey = 0x3D;

using Bytes = std::vector<uint8_t>;

// Appends v as four little-endian bytes.
void AppendInt32(Bytes& out, int32_t v);
// Appends "#" + text + "#"; the text must hold no '#'.
void AppendHashField(Bytes& out, const std::string& text);
// Appends "\r\n" between records, which the readers skip.
void AppendLineBreak(Bytes& out);
// XORs every byte with the data-file key (its own inverse).
void Scramble(Bytes& bytes);

// The card index, data and information files from already built records.
// Records are the plain (unscrambled) bytes of each card, in id order.
struct CardFiles {
    Bytes index;
    Bytes data;
    Bytes info;
};
CardFiles EncodeCardFiles(const std::vector<Bytes>& records, const Bytes& plainInfo);

// Writes bytes to path, creating the parent directories. False on failure.
bool WriteFileBytes(const std::string& path, const Bytes& bytes);

}  // namespace qv::tools
