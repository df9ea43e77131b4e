// Little-endian fields on an open save file.
#include "cards/save_io.h"

#include "engine/utilities.h"

namespace qv {

namespace {

bool WriteBytes(platform::FileHandle file, const uint8_t* bytes, uint32_t count) {
    uint32_t written = 0;
    return platform::WriteFile(file, bytes, count, &written) && written == count;
}

bool ReadBytes(platform::FileHandle file, uint8_t* bytes, uint32_t count) {
    uint32_t read = 0;
    return platform::ReadFile(file, bytes, count, &read) && read == count;
}

}  // namespace

bool WriteU8(platform::FileHandle file, uint8_t value) { return WriteBytes(file, &value, 1); }

bool WriteI16(platform::FileHandle file, int16_t value) {
    auto v = static_cast<uint16_t>(value);
    const uint8_t bytes[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    return WriteBytes(file, bytes, 2);
}

bool WriteI32(platform::FileHandle file, int32_t value) {
    auto v = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                              static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    return WriteBytes(file, bytes, 4);
}

bool WriteSaveText(platform::FileHandle file, const WString& text) {
    // Never longer than the reader accepts, so a saved file always loads.
    return WriteScrambledText(file, text.substr(0, kMaxSaveTextLength));
}

bool ReadU8(platform::FileHandle file, uint8_t& value) {
    uint8_t byte = 0;
    if (!ReadBytes(file, &byte, 1)) return false;
    value = byte;
    return true;
}

bool ReadI8(platform::FileHandle file, int8_t& value) {
    uint8_t byte = 0;
    if (!ReadU8(file, byte)) return false;
    value = static_cast<int8_t>(byte);
    return true;
}

bool ReadI16(platform::FileHandle file, int16_t& value) {
    uint8_t bytes[2];
    if (!ReadBytes(file, bytes, 2)) return false;
    value = static_cast<int16_t>(bytes[0] | (bytes[1] << 8));
    return true;
}

bool ReadI32(platform::FileHandle file, int32_t& value) {
    uint8_t bytes[4];
    if (!ReadBytes(file, bytes, 4)) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                                 (static_cast<uint32_t>(bytes[2]) << 16) |
                                 (static_cast<uint32_t>(bytes[3]) << 24));
    return true;
}

bool ReadSaveText(platform::FileHandle file, WString& text) {
    return ReadScrambledText(file, kMaxSaveTextLength, text);
}

}  // namespace qv
