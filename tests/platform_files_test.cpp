// Files on handheld paths: case-insensitive mapping, read-only opens,
// write-through, seeking, and the trace of opens and deletes.
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/files.h"
#include "platform/text.h"
#include "tests/support/headless.h"

namespace qv {
namespace {

using namespace platform;

class Files : public test::PlatformTest {
protected:
    // The temporary directory in the handheld's form, ending in '\'.
    WString Root() const {
        std::string path = dir_.Path() + "/";
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        return FromUtf8(path);
    }
};

TEST_F(Files, MapPathMatchesEachComponentExactlyFirstThenWithoutCase) {
    std::filesystem::create_directories(dir_.Path("Data/Cards/SET 1"));
    test::WriteText(dir_.Path("Data/Cards/SET 1/Cards.IND"), "x");
    test::WriteText(dir_.Path("Data/Cards/SET 1/cards.ind"), "y");
    test::WriteText(dir_.Path("Data/Cards/SET 1/Other.dat"), "z");

    // Exact case wins even where another case variant exists.
    EXPECT_EQ(MapPath(Root() + u"Data\\Cards\\SET 1\\cards.ind"), dir_.Path("Data/Cards/SET 1/cards.ind"));
    EXPECT_EQ(MapPath(Root() + u"DATA\\cards\\set 1\\OTHER.DAT"), dir_.Path("Data/Cards/SET 1/Other.dat"));
    // Among several variants the choice is stable: the smallest name.
    EXPECT_EQ(MapPath(Root() + u"DATA\\CARDS\\SET 1\\CARDS.Ind"), dir_.Path("Data/Cards/SET 1/Cards.IND"));
    // What does not exist is kept as written, below the last found directory.
    EXPECT_EQ(MapPath(Root() + u"data\\SAVE\\Player1.QCP"), dir_.Path("Data/SAVE/Player1.QCP"));
    EXPECT_EQ(MapPath(u"\\tmp"), "/tmp");
    EXPECT_EQ(MapPath(Root() + u"DATA\\\\cards"), dir_.Path("Data/Cards"));

    FileHandle file = CreateFile(Root() + u"data\\CARDS\\set 1\\other.DAT", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char byte = 0;
    uint32_t read = 0;
    EXPECT_TRUE(ReadFile(file, &byte, 1, &read));
    EXPECT_EQ(read, 1u);
    EXPECT_EQ(byte, 'z');
    CloseHandle(file);
}

// The access mode of the descriptor this process has open on the file
// (O_RDONLY, O_WRONLY or O_RDWR), or -1 when none.
int OpenAccessMode(const std::string& path) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) != path) continue;
        std::ifstream info("/proc/self/fdinfo/" + entry.path().filename().string());
        for (std::string line; std::getline(info, line);) {
            if (line.rfind("flags:", 0) == 0) return static_cast<int>(std::stol(line.substr(6), nullptr, 8) & 3);
        }
    }
    return -1;
}

TEST_F(Files, ReadOpenOfAReadOnlyFileNeverAsksForWriteAccess) {
    const std::string path = dir_.Path("Locked.QVG");
    test::WriteText(path, "abc");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    FileHandle file = CreateFile(Root() + u"locked.qvg", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file), 3u);
    // Checked on the descriptor itself, so it holds even where root may write anything.
    EXPECT_EQ(OpenAccessMode(path), O_RDONLY);
    CloseHandle(file);
    EXPECT_EQ(OpenAccessMode(path), -1) << "closed";
    file = CreateFile(Root() + u"Locked.QVG", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    if (access(path.c_str(), W_OK) != 0) {
        EXPECT_EQ(file, INVALID_HANDLE_VALUE);
    } else {
        EXPECT_EQ(OpenAccessMode(path), O_RDWR);
    }
    CloseHandle(file);
}

TEST_F(Files, WritesReachTheFileAtOnceAndSeeksReportPositions) {
    FileHandle file = CreateFile(Root() + u"Save.QCP", GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    uint32_t written = 0;
    EXPECT_TRUE(WriteFile(file, "hello", 5, &written));
    EXPECT_EQ(written, 5u);
    // Another reader sees the bytes before the handle is closed.
    EXPECT_EQ(test::ReadText(dir_.Path("Save.QCP")), "hello");
    EXPECT_EQ(SetFilePointer(file, 1, FILE_BEGIN), 1u);
    EXPECT_TRUE(WriteFile(file, "a", 1, &written));
    EXPECT_EQ(SetFilePointer(file, 0, FILE_END), 5u);
    EXPECT_EQ(SetFilePointer(file, -10, FILE_CURRENT), INVALID_FILE_SIZE) << "before the start fails";
    EXPECT_EQ(GetFileSize(file), 5u);
    CloseHandle(file);
    EXPECT_EQ(test::ReadText(dir_.Path("Save.QCP")), "hallo");

    // Reading at the end gives 0 bytes and success.
    file = CreateFile(Root() + u"save.qcp", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[16];
    uint32_t read = 99;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read));
    EXPECT_EQ(read, 5u);
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read));
    EXPECT_EQ(read, 0u);
    CloseHandle(file);
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST_F(Files, CreationModesDirectoriesMovesAndDeletes) {
    EXPECT_EQ(CreateFile(Root() + u"Missing.dat", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    FileHandle file = CreateFile(Root() + u"New.dat", GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(CreateFile(Root() + u"New.dat", GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);

    EXPECT_TRUE(CreateDirectory(Root() + u"SAVE"));
    EXPECT_FALSE(CreateDirectory(Root() + u"save")) << "exists already, whatever its case";
    EXPECT_EQ(CreateFile(Root() + u"SAVE", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE)
        << "a directory is not a file";

    test::WriteText(dir_.Path("SAVE/Player1.QCP"), "old");
    test::WriteText(dir_.Path("SAVE/Player1.tmp"), "new");
    EXPECT_TRUE(MoveFileReplacing(Root() + u"save\\player1.TMP", Root() + u"SAVE\\Player1.QCP"));
    EXPECT_EQ(test::ReadText(dir_.Path("SAVE/Player1.QCP")), "new");
    EXPECT_FALSE(FileExists(Root() + u"SAVE\\Player1.tmp"));
    EXPECT_TRUE(DeleteFile(Root() + u"save\\PLAYER1.qcp"));
    EXPECT_FALSE(DeleteFile(Root() + u"save\\PLAYER1.qcp"));

    const std::vector<std::string> deletes = TraceOf("delete");
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0], dir_.Path("SAVE/Player1.QCP"));
    EXPECT_EQ(TraceOf("deletefail").size(), 1u);
    bool tracedOpen = false;
    for (const std::string& text : TraceOf("open")) {
        tracedOpen = tracedOpen || text == "w " + dir_.Path("New.dat");
    }
    EXPECT_TRUE(tracedOpen);
}

TEST(Text, Utf8ConversionKeepsEveryCharacterAndReplacesBadInput) {
    const WString text = u"A\u00e9\u20ac\U0001F600z";
    EXPECT_EQ(ToUtf8(text), "A\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80z");
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(WString(1, char16_t{0xD800}) + u"x"), "\xef\xbf\xbdx") << "unpaired surrogate";
    EXPECT_EQ(FromUtf8("\xc3"), u"\ufffd") << "cut short";
    EXPECT_EQ(FromUtf8("\xc0\xaf!"), u"\ufffd\ufffd!") << "overlong";
    EXPECT_EQ(FromUtf8("\xff"), u"\ufffd");
    EXPECT_EQ(EscapeLine("a\nb\tc\\d\x01"), "a\\nb\\tc\\d\\x01");
}

}  // namespace
}  // namespace qv
