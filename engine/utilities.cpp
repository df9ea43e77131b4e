// Random numbers, decimal formatting, scrambled save texts, '#' data fields.
#include "engine/utilities.h"

#include <utility>
#include <vector>

namespace qv {

namespace {

// The game's one random generator: the classic C library linear congruential
// generator, whose results run from 0 to 32767 like the handheld's rand()
// (the host's rand() has another range).
uint32_t gRandomState = 1;

constexpr uint8_t kFieldMark = '#';
constexpr uint8_t kScrambleKey = 0xA7;  // a scrambled text's bytes are XORed with it

// The signed 16-bit count of a scrambled text; false when the file ends
// within it.
bool ReadScrambledCount(platform::FileHandle file, int16_t& count) {
    uint8_t header[2] = {0, 0};
    uint32_t read = 0;
    if (!platform::ReadFile(file, header, 2, &read) || read != 2) {
        return false;
    }
    count = static_cast<int16_t>(header[0] | (header[1] << 8));
    return true;
}

// Up to count descrambled characters: fewer when the file ends.
WString ReadScrambledCharacters(platform::FileHandle file, int16_t count) {
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    uint32_t read = 0;
    if (!platform::ReadFile(file, bytes.data(), static_cast<uint32_t>(count), &read)) {
        read = 0;
    }
    WString text;
    text.reserve(read);
    for (uint32_t i = 0; i < read && i < bytes.size(); ++i) {
        text.push_back(static_cast<char16_t>(bytes[i] ^ kScrambleKey));
    }
    return text;
}

// Digits of the value, lowest first, put in front of the text.
WString FormatMagnitude(uint32_t value) {
    if (value == 0) {
        return u"0";
    }
    WString text;
    while (value != 0) {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    }
    return text;
}

WString FormatSigned(int32_t value) {
    // The magnitude is taken in unsigned arithmetic so that the most
    // negative value has one too.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    WString text = FormatMagnitude(magnitude);
    if (value < 0) {
        text.insert(text.begin(), u'-');
    }
    return text;
}

// Finds the next field: the bytes between the next '#' and the one after
// it. False (cursor at the end) when the buffer ends first.
bool FindField(std::span<const uint8_t> buffer, size_t& cursor, size_t& start, size_t& end) {
    size_t pos = cursor;
    while (pos < buffer.size() && buffer[pos] != kFieldMark) {
        ++pos;
    }
    if (pos >= buffer.size()) {
        cursor = buffer.size();
        return false;
    }
    start = pos + 1;
    pos = start;
    while (pos < buffer.size() && buffer[pos] != kFieldMark) {
        ++pos;
    }
    if (pos >= buffer.size()) {
        cursor = buffer.size();
        return false;
    }
    end = pos;
    cursor = pos + 1;
    return true;
}

}  // namespace

void SeedRandom(uint32_t seed) { gRandomState = seed; }

int Rand() {
    gRandomState = gRandomState * 1103515245u + 12345u;
    return static_cast<int>((gRandomState / 65536u) % 32768u);
}

int RandomBelow(int n) {
    // Every call draws, also for n = 1, so that later draws stay in step.
    int r = Rand();
    if (n <= 1) {
        return 0;
    }
    // Single precision, as the handheld computes it; a draw of 32767 would
    // give n itself, hence the cap.
    float scaled = static_cast<float>(r) * static_cast<float>(n) * (1.0f / 32767.0f);
    int result = static_cast<int>(scaled);
    return result < n ? result : n - 1;
}

WString FormatUShort(uint16_t value) { return FormatMagnitude(value); }
WString FormatUInt(uint32_t value) { return FormatMagnitude(value); }
WString FormatSChar(int8_t value) { return FormatSigned(value); }
WString FormatShort(int16_t value) { return FormatSigned(value); }
WString FormatInt(int32_t value) { return FormatSigned(value); }

WString FormatIntPadded(int32_t value, int width) {
    WString text = FormatSigned(value);
    if (width > 0 && text.size() < static_cast<size_t>(width)) {
        text.insert(text.begin(), static_cast<size_t>(width) - text.size(), u'0');
    }
    return text;
}

bool WriteScrambledText(platform::FileHandle file, WString text) {
    uint16_t count = static_cast<uint16_t>(text.size());
    std::vector<uint8_t> bytes;
    bytes.reserve(2 + text.size());
    bytes.push_back(static_cast<uint8_t>(count & 0xFF));
    bytes.push_back(static_cast<uint8_t>(count >> 8));
    for (size_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<uint8_t>((text[i] & 0xFF) ^ kScrambleKey));
    }
    uint32_t written = 0;
    return platform::WriteFile(file, bytes.data(), static_cast<uint32_t>(bytes.size()), &written) &&
           written == bytes.size();
}

WString ReadScrambledText(platform::FileHandle file) {
    int16_t count = 0;
    if (!ReadScrambledCount(file, count) || count <= 0) {
        return WString();
    }
    // A file that ends early gives the shorter text; the callers' checks
    // then reject the record.
    return ReadScrambledCharacters(file, count);
}

bool ReadScrambledText(platform::FileHandle file, int maxLength, WString& text) {
    int16_t count = 0;
    if (!ReadScrambledCount(file, count) || count < 0 || count > maxLength) {
        return false;
    }
    WString read = ReadScrambledCharacters(file, count);
    if (read.size() != static_cast<size_t>(count)) {
        return false;
    }
    text = std::move(read);
    return true;
}

WString ReadHashField(std::span<const uint8_t> buffer, size_t& cursor) {
    size_t start = 0;
    size_t end = 0;
    if (!FindField(buffer, cursor, start, end)) {
        return WString();
    }
    WString field;
    field.reserve(end - start);
    for (size_t i = start; i < end; ++i) {
        field.push_back(static_cast<char16_t>(buffer[i]));
    }
    return field;
}

int ReadHashNumber(std::span<const uint8_t> buffer, size_t& cursor) {
    size_t start = 0;
    size_t end = 0;
    if (!FindField(buffer, cursor, start, end)) {
        return 0;
    }
    // Unsigned arithmetic wraps instead of overflowing on a long digit run;
    // the bytes are not checked to be digits.
    uint32_t value = 0;
    for (size_t i = start; i < end; ++i) {
        value = value * 10u + static_cast<uint32_t>(buffer[i] - '0');
    }
    return static_cast<int>(value);
}

std::vector<uint8_t> ReadWholeFile(const WString& path) {
    std::vector<uint8_t> bytes;
    platform::FileHandle file = platform::CreateFile(path, platform::GENERIC_READ, platform::OPEN_EXISTING);
    if (file == platform::INVALID_HANDLE_VALUE) return bytes;
    const uint32_t size = platform::GetFileSize(file);
    if (size != platform::INVALID_FILE_SIZE && size > 0) {
        bytes.resize(size);
        uint32_t read = 0;
        if (!platform::ReadFile(file, bytes.data(), size, &read) || read != size) bytes.clear();
    }
    platform::CloseHandle(file);
    return bytes;
}

}  // namespace qv
