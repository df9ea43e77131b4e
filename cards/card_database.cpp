// The card database: CARDS.IND offsets, CARDS.DAT records and CARDS.INF texts.
#include "cards/card_database.h"

#include <span>
#include <vector>

#include "engine/install_dir.h"
#include "engine/utilities.h"
#include "engine/wstring.h"

namespace qv {

platform::FileHandle gCardIndexFile = platform::INVALID_HANDLE_VALUE;
platform::FileHandle gCardDataFile = platform::INVALID_HANDLE_VALUE;
int16_t gCardCount = 0;

namespace {

// No record of the shipped set comes near this; a longer one is damage.
constexpr int32_t kMaxRecordBytes = 4096;

const char16_t kIndexPath[] = u"DATA\\CARDS\\SET 1\\CARDS.IND";
const char16_t kDataPath[] = u"DATA\\CARDS\\SET 1\\CARDS.DAT";
const char16_t kInfoPath[] = u"DATA\\CARDS\\SET 1\\CARDS.INF";

bool ReadInt32At(platform::FileHandle file, uint32_t offset, int32_t& value) {
    if (platform::SetFilePointer(file, static_cast<int32_t>(offset), platform::FILE_BEGIN) != offset) return false;
    uint8_t bytes[4];
    uint32_t read = 0;
    if (!platform::ReadFile(file, bytes, 4, &read) || read != 4) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                                 (static_cast<uint32_t>(bytes[2]) << 16) |
                                 (static_cast<uint32_t>(bytes[3]) << 24));
    return true;
}

// The index must hold exactly the fixed tables' card count, and every
// record must lie inside the data file in id order, so that no later read
// can overrun a table or ask for an absurd buffer.
bool IndexIsSound(platform::FileHandle index, platform::FileHandle data) {
    int32_t count = 0;
    if (!ReadInt32At(index, 0, count) || static_cast<int16_t>(count & 0xFFFF) != kCardSetSize) return false;
    const uint32_t dataSize = platform::GetFileSize(data);
    if (dataSize == platform::INVALID_FILE_SIZE) return false;
    int32_t previous = 0;
    for (uint32_t n = 1; n <= static_cast<uint32_t>(kCardSetSize) + 1; ++n) {
        int32_t offset = 0;
        if (!ReadInt32At(index, 4 * n, offset)) return false;
        if (offset < previous || static_cast<uint32_t>(offset) > dataSize) return false;
        if (n > 1 && offset - previous > kMaxRecordBytes) return false;
        previous = offset;
    }
    return true;
}

}  // namespace

std::vector<uint8_t> ReadWholeDataFile(const WString& path) {
    std::vector<uint8_t> buffer = ReadWholeFile(path);
    for (uint8_t& byte : buffer) byte ^= kDataFileKey;
    return buffer;
}

bool OpenCardDatabase() {
    CloseCardDatabase();
    platform::FileHandle index = platform::CreateFile(gInstallDir + kIndexPath, platform::GENERIC_READ,
                                                      platform::OPEN_EXISTING);
    platform::FileHandle data = platform::CreateFile(gInstallDir + kDataPath, platform::GENERIC_READ,
                                                     platform::OPEN_EXISTING);
    if (index == platform::INVALID_HANDLE_VALUE || data == platform::INVALID_HANDLE_VALUE ||
        !IndexIsSound(index, data)) {
        platform::CloseHandle(data);
        platform::CloseHandle(index);
        return false;
    }
    gCardIndexFile = index;
    gCardDataFile = data;
    gCardCount = kCardSetSize;
    return true;
}

void CloseCardDatabase() {
    platform::CloseHandle(gCardDataFile);
    platform::CloseHandle(gCardIndexFile);
    gCardDataFile = platform::INVALID_HANDLE_VALUE;
    gCardIndexFile = platform::INVALID_HANDLE_VALUE;
    gCardCount = 0;
}

int16_t GetCardCount() { return gCardCount; }

int32_t GetCardOffset(int16_t id) {
    int32_t offset = 0;
    ReadInt32At(gCardIndexFile, 4u * static_cast<uint16_t>(id), offset);
    return offset;
}

Card LoadCard(int16_t id) {
    Card card;
    if (!IsDatabaseId(id)) return card;

    const int32_t begin = GetCardOffset(id);
    const int32_t length = GetCardOffset(static_cast<int16_t>(id + 1)) - begin;
    std::vector<uint8_t> record;
    if (length > 0 && length <= kMaxRecordBytes &&
        platform::SetFilePointer(gCardDataFile, begin, platform::FILE_BEGIN) == static_cast<uint32_t>(begin)) {
        record.resize(static_cast<size_t>(length));
        uint32_t read = 0;
        platform::ReadFile(gCardDataFile, record.data(), static_cast<uint32_t>(length), &read);
        record.resize(read);
        for (uint8_t& byte : record) byte ^= kDataFileKey;
    }

    const std::span<const uint8_t> fields(record);
    size_t cursor = 0;
    WString name = ReadHashField(fields, cursor);
    UpperCaseInPlace(name);
    card.SetName(name);

    const WString powers = ReadHashField(fields, cursor);
    card.SetPowers(0);
    for (int d = 0; d < kDirectionCount && d < static_cast<int>(powers.size()); ++d) {
        // Only the powers in play; any other character leaves no arrow.
        const int power = powers[static_cast<size_t>(d)] - u'0';
        if (power >= 0 && power <= 5) card.SetPower(power, d);
    }

    // Low 16 bits as a signed number, halved towards minus infinity, times 0.74.
    const auto raw = static_cast<int16_t>(ReadHashNumber(fields, cursor) & 0xFFFF);
    const int halved = raw >> 1;
    card.SetValue(static_cast<int16_t>(static_cast<double>(halved) * 0.74));

    card.SetLevel(static_cast<int8_t>(ReadHashNumber(fields, cursor)));
    card.SetId(id);
    return card;
}

Card RandomCardOfLevel(int level) {
    const int quarter = gCardCount / 4;
    if (quarter <= 0) return Card();
    return LoadCard(static_cast<int16_t>(RandomBelow(quarter) + quarter * (level - 1) + 1));
}

WString BuildCardInfoText(int16_t id) {
    if (!IsDatabaseId(id)) return WString();
    const std::vector<uint8_t> buffer = ReadWholeDataFile(gInstallDir + kInfoPath);
    const int quarter = gCardCount / 4;
    const int entry = (id - 1) % quarter;
    const int level = (id - 1) / quarter + 1;

    // Each entry is five fields of two '#' each.
    size_t cursor = 0;
    for (int skipped = 0; skipped < 10 * entry && cursor < buffer.size(); ++cursor) {
        if (buffer[cursor] == '#') ++skipped;
    }
    const std::span<const uint8_t> fields(buffer);
    WString text = ReadHashField(fields, cursor);
    text += u"\nLevel " + FormatInt(level) + u"\nNo " + FormatInt(id) + u"\n";
    for (int line = 0; line < level; ++line) text += u"\n  " + ReadHashField(fields, cursor);
    return text;
}

}  // namespace qv
