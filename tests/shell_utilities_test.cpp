// Tests of the random source, the decimal formatters, scrambled texts and '#' fields.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/utilities.h"
#include "engine/wstring.h"
#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace qv {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(Random, GeneratorGivesTheHandheldsRange) {
    // The classic C library sequence for seed 1, in the range 0..32767.
    SeedRandom(1);
    EXPECT_EQ(Rand(), 16838);
    EXPECT_EQ(Rand(), 5758);
    EXPECT_EQ(Rand(), 10113);
    int lowest = 32767;
    int highest = 0;
    SeedRandom(12345);
    for (int i = 0; i < 200000; ++i) {
        int r = Rand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    EXPECT_LT(lowest, 10);
    EXPECT_GT(highest, 32757);
}

TEST(Random, SameSeedSameSequence) {
    SeedRandom(77);
    std::vector<int> first;
    for (int i = 0; i < 20; ++i) first.push_back(RandomBelow(1000));
    SeedRandom(77);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(RandomBelow(1000), first[i]);
}

TEST(Random, EveryRandomBelowTakesOneDraw) {
    // A draw among one choice still uses up a number of the sequence.
    SeedRandom(1);
    EXPECT_EQ(RandomBelow(1), 0);
    EXPECT_EQ(Rand(), 5758);
    SeedRandom(1);
    EXPECT_EQ(RandomBelow(1000), 16838 * 1000 / 32767);
    EXPECT_EQ(Rand(), 5758);
}

TEST(Random, RandomBelowStaysInRangeAndReachesEveryValue) {
    SeedRandom(2024);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(RandomBelow(1), 0);
    for (int n : {2, 3, 38, 344, 1000}) {
        std::set<int> seen;
        for (int i = 0; i < 60000; ++i) {
            int r = RandomBelow(n);
            ASSERT_GE(r, 0) << n;
            ASSERT_LT(r, n) << n;
            seen.insert(r);
        }
        EXPECT_EQ(static_cast<int>(seen.size()), n) << n;
    }
}

TEST(Formatting, DecimalTexts) {
    EXPECT_EQ(FormatUShort(0), u"0");
    EXPECT_EQ(FormatUShort(65535), u"65535");
    EXPECT_EQ(FormatUInt(2147483647u), u"2147483647");
    EXPECT_EQ(FormatUInt(4294967295u), u"4294967295");
    EXPECT_EQ(FormatSChar(-128), u"-128");
    EXPECT_EQ(FormatSChar(127), u"127");
    EXPECT_EQ(FormatShort(0), u"0");
    EXPECT_EQ(FormatShort(-32768), u"-32768");
    EXPECT_EQ(FormatShort(-7), u"-7");
    EXPECT_EQ(FormatInt(-2147483647 - 1), u"-2147483648");
    EXPECT_EQ(FormatInt(1000), u"1000");
    EXPECT_EQ(FormatIntPadded(7, 2), u"07");
    EXPECT_EQ(FormatIntPadded(0, 3), u"000");
    EXPECT_EQ(FormatIntPadded(123, 2), u"123");
    EXPECT_EQ(FormatIntPadded(45, 0), u"45");
}

TEST(HashFields, FieldsBetweenMarks) {
    std::vector<uint8_t> data = Bytes("#ALPHA##12#\r\n#0050##\xE9t\xE9#");
    size_t cursor = 0;
    EXPECT_EQ(ReadHashField(data, cursor), u"ALPHA");
    EXPECT_EQ(cursor, 7u);
    EXPECT_EQ(ReadHashNumber(data, cursor), 12);
    EXPECT_EQ(ReadHashNumber(data, cursor), 50);
    // Bytes widen to characters one for one.
    EXPECT_EQ(ReadHashField(data, cursor), u"\u00E9t\u00E9");
    EXPECT_EQ(cursor, data.size());

    std::vector<uint8_t> empty = Bytes("####");
    cursor = 0;
    EXPECT_EQ(ReadHashField(empty, cursor), u"");
    EXPECT_EQ(ReadHashNumber(empty, cursor), 0);
    EXPECT_EQ(cursor, 4u);
}

TEST(HashFields, EndOfBufferGivesEmptyFieldsAndZero) {
    // Unterminated field, then nothing at all: never past the end.
    std::vector<uint8_t> data = Bytes("#OK#  #TRUNC");
    size_t cursor = 0;
    EXPECT_EQ(ReadHashField(data, cursor), u"OK");
    EXPECT_EQ(ReadHashField(data, cursor), u"");
    EXPECT_EQ(cursor, data.size());
    EXPECT_EQ(ReadHashField(data, cursor), u"");
    EXPECT_EQ(ReadHashNumber(data, cursor), 0);
    EXPECT_EQ(cursor, data.size());

    std::vector<uint8_t> number = Bytes("#123");
    cursor = 0;
    EXPECT_EQ(ReadHashNumber(number, cursor), 0);
    std::vector<uint8_t> none;
    cursor = 0;
    EXPECT_EQ(ReadHashField(none, cursor), u"");
    // A cursor already past the end stays harmless.
    cursor = 100;
    EXPECT_EQ(ReadHashNumber(data, cursor), 0);
}

TEST(HashFields, LongDigitRunWrapsWithoutOverflow) {
    std::vector<uint8_t> data = Bytes("#99999999999999999999#");
    size_t cursor = 0;
    // Defined (wrapping) arithmetic; the sanitizer build checks there is no overflow.
    ReadHashNumber(data, cursor);
    EXPECT_EQ(cursor, data.size());
    std::vector<uint8_t> big = Bytes("#2147483647#");
    cursor = 0;
    EXPECT_EQ(ReadHashNumber(big, cursor), 2147483647);
}

class ScrambledTextTest : public ::testing::Test {
protected:
    void SetUp() override { path_ = Widen(dir_.Path("text.bin")); }

    std::vector<uint8_t> FileBytes() const {
        platform::FileHandle file =
            platform::CreateFile(path_, platform::GENERIC_READ, platform::OPEN_EXISTING);
        std::vector<uint8_t> bytes(platform::GetFileSize(file));
        uint32_t read = 0;
        platform::ReadFile(file, bytes.data(), static_cast<uint32_t>(bytes.size()), &read);
        platform::CloseHandle(file);
        return bytes;
    }
    void WriteBytes(const std::vector<uint8_t>& bytes) const {
        platform::FileHandle file = platform::CreateFile(
            path_, platform::GENERIC_READ | platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
        uint32_t written = 0;
        platform::WriteFile(file, bytes.data(), static_cast<uint32_t>(bytes.size()), &written);
        platform::CloseHandle(file);
    }
    WString ReadBack() const {
        platform::FileHandle file =
            platform::CreateFile(path_, platform::GENERIC_READ, platform::OPEN_EXISTING);
        WString text = ReadScrambledText(file);
        platform::CloseHandle(file);
        return text;
    }

    test::TempDir dir_{"scramble"};
    WString path_;
};

TEST_F(ScrambledTextTest, BytesAndRoundTrip) {
    platform::FileHandle file = platform::CreateFile(
        path_, platform::GENERIC_READ | platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    ASSERT_NE(file, platform::INVALID_HANDLE_VALUE);
    WriteScrambledText(file, u"ABC");
    WriteScrambledText(file, u"");
    WriteScrambledText(file, u"Zo\u00EB\u0141");  // the last loses its high byte
    platform::CloseHandle(file);
    std::vector<uint8_t> expected = {0x03, 0x00, 0xE6, 0xE5, 0xE4, 0x00, 0x00, 0x04,
                                     0x00, 0xFD, 0xC8, 0x4C, 0x41 ^ 0xA7};
    EXPECT_EQ(FileBytes(), expected);

    file = platform::CreateFile(path_, platform::GENERIC_READ, platform::OPEN_EXISTING);
    EXPECT_EQ(ReadScrambledText(file), u"ABC");
    EXPECT_EQ(ReadScrambledText(file), u"");
    EXPECT_EQ(ReadScrambledText(file), u"Zo\u00EB\u0041");
    // At the end of the file: the empty text.
    EXPECT_EQ(ReadScrambledText(file), u"");
    platform::CloseHandle(file);
}

TEST_F(ScrambledTextTest, ShortFileAndNegativeCount) {
    // A count of 5 with only two characters behind it gives those two.
    WriteBytes({0x05, 0x00, 'H' ^ 0xA7, 'i' ^ 0xA7});
    EXPECT_EQ(ReadBack(), u"Hi");
    WriteBytes({0xFF, 0xFF, 'H' ^ 0xA7});
    EXPECT_EQ(ReadBack(), u"");
    WriteBytes({0x01});
    EXPECT_EQ(ReadBack(), u"");
}

// The checked reading the save files use: all or nothing.
TEST_F(ScrambledTextTest, CheckedReadTakesOnlyWholeTextsWithinTheLimit) {
    auto readChecked = [this](int maxLength, WString& text) {
        platform::FileHandle file = platform::CreateFile(path_, platform::GENERIC_READ, platform::OPEN_EXISTING);
        bool ok = ReadScrambledText(file, maxLength, text);
        platform::CloseHandle(file);
        return ok;
    };
    WString text = u"kept";
    WriteBytes({0x02, 0x00, 'H' ^ 0xA7, 'i' ^ 0xA7});
    EXPECT_FALSE(readChecked(1, text));
    EXPECT_EQ(text, u"kept");
    EXPECT_TRUE(readChecked(2, text));
    EXPECT_EQ(text, u"Hi");
    text = u"kept";
    for (const std::vector<uint8_t>& bytes :
         std::vector<std::vector<uint8_t>>{{0x05, 0x00, 'H' ^ 0xA7, 'i' ^ 0xA7}, {0xFF, 0xFF}, {0x01}}) {
        WriteBytes(bytes);
        EXPECT_FALSE(readChecked(255, text));
        EXPECT_EQ(text, u"kept");
    }
    WriteBytes({0x00, 0x00});
    EXPECT_TRUE(readChecked(255, text));
    EXPECT_EQ(text, u"");
}

TEST(WideStrings, ClampedPiecesAndConversions) {
    EXPECT_EQ(Widen(static_cast<const char*>(nullptr)), u"");
    EXPECT_EQ(Widen("A\xE9"), u"A\u00E9");
    EXPECT_EQ(Narrow(u"A\u00E9\u0141"), std::string("A\xE9\x41"));
    EXPECT_EQ(LeftChars(u"Quorvane", 3), u"Quo");
    EXPECT_EQ(LeftChars(u"Quo", 10), u"Quo");
    EXPECT_EQ(LeftChars(u"Quo", -1), u"");
    EXPECT_EQ(RightChars(u"Quorvane", 4), u"vane");
    EXPECT_EQ(RightChars(u"ab", 5), u"ab");
    EXPECT_EQ(SubString(u"Quorvane", 2, 3), u"orv");
    EXPECT_EQ(SubString(u"Quorvane", 6, 10), u"ne");
    EXPECT_EQ(SubString(u"Quorvane", 9, 1), u"");
    EXPECT_EQ(RepeatChar(u'.', 3), u"...");
    EXPECT_EQ(RepeatChar(u'.', -2), u"");
    WString text = u"abc xyz \u00E9\u00F7\u00FF";
    UpperCaseInPlace(text);
    EXPECT_EQ(text, u"ABC XYZ \u00C9\u00F7\u00FF");
}

}  // namespace
}  // namespace qv
