// Saves under failure: a write that fails at any byte, or a kill at any moment, leaves the
// old file whole or the new one, never a part; a save is on disk before it counts; a
// character that cannot be saved is told; and leaving keeps the quick save and the
// character in step.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <random>
#include <string>
#include <vector>

#include "cards/launchers.h"
#include "cards/statistics.h"
#include "club/tournament_screen.h"
#include "platform/trace.h"
#include "tests/support/club_driver.h"

namespace qv::test {
namespace {

// While it stands, no file of this process can grow past limit bytes: the
// write that would pass it fails as on a full disk (EFBIG, the signal ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered{limit, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lowered);
        handler_ = ::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    sighandler_t handler_ = SIG_DFL;
};

bool NoPartLeft() {
    for (const auto& entry : std::filesystem::directory_iterator(SavePath("x").parent_path())) {
        if (entry.path().extension() == ".tmp") return false;
    }
    return true;
}

class SaveFailures : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        SeedRandom(9);
        MakeLocalPlayer(DeckFrom(1));
        std::filesystem::remove(SavePath("QuickSave.QCP"));
        gClubActive = 1;
    }

    // The save with the limit at every size below the new file's, then
    // without one: each failure reports failure and keeps the old bytes, and
    // only the whole new file is ever put in place.
    static void FailAtEveryByte(const std::filesystem::path& path, bool (*save)()) {
        const Bytes old = ReadBytes(path);
        ASSERT_FALSE(old.empty());
        rlim_t limit = 0;
        for (;; ++limit) {
            bool saved = false;
            {
                FileSizeLimit cap(limit);
                saved = save();
            }
            if (saved) break;
            ASSERT_EQ(ReadBytes(path), old) << "limit " << limit;
            ASSERT_TRUE(NoPartLeft()) << "limit " << limit;
            ASSERT_LT(limit, 100000u);
        }
        const Bytes saved = ReadBytes(path);
        EXPECT_NE(saved, old);
        // The first limit that let the save through is the new file's size.
        EXPECT_EQ(limit, saved.size());
        EXPECT_TRUE(NoPartLeft());
    }
};

TEST_F(SaveFailures, CharacterFileFailingAtAnyByteKeepsTheOldOne) {
    ASSERT_TRUE(SavePlayer());
    gProfile.AddCredits(5000);
    gProfile.AddCard(200);
    FailAtEveryByte(SavePath("Player1.QCP"), &SavePlayer);
    ASSERT_TRUE(LoadPlayerSave(1));
    EXPECT_EQ(gProfile.GetCardCount(200), 1);
}

TEST_F(SaveFailures, QuickSaveFailingAtAnyByteKeepsTheOldOne) {
    ASSERT_TRUE(SavePlayer());
    // The old quick save: the club's, two bytes. The new one holds a match.
    ASSERT_TRUE(WriteQuickSave());
    StartOpponentMatch(3, 0);
    ASSERT_TRUE(RunMatch([] { return gMatch.GetBoard().CountFree() < 18; }));
    ASSERT_EQ(gClubActive, 0);
    FailAtEveryByte(SavePath("QuickSave.QCP"), [] { return WriteQuickSave(); });
    gClubActive = 1;
    ASSERT_TRUE(LoadQuickSave());
    EXPECT_EQ(gClubActive, 0) << "the whole match came back";
    EXPECT_LT(gMatch.GetBoard().CountFree(), 18);
}

// A child that saves two versions in turn for ever is killed at random
// moments; the file on disk must then be one version or the other, whole.
void ExpectKillLeavesOldOrNew(const std::filesystem::path& path, void (*makeVersion)(int),
                              bool (*save)()) {
    Bytes versions[2];
    for (int v = 0; v < 2; ++v) {
        makeVersion(v);
        ASSERT_TRUE(save());
        versions[v] = ReadBytes(path);
    }
    ASSERT_NE(versions[0], versions[1]);
    // Kill times spread over a few saves.
    timespec start{}, end{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    for (int i = 0; i < 4; ++i) save();
    ::clock_gettime(CLOCK_MONOTONIC, &end);
    const long perSave = ((end.tv_sec - start.tv_sec) * 1000000000L + (end.tv_nsec - start.tv_nsec)) / 4;
    std::mt19937 random(12345);
    std::uniform_int_distribution<long> delay(0, 3 * perSave + 100000);
    for (int round = 0; round < 40; ++round) {
        pid_t pid = ::fork();
        if (pid == 0) {
            for (int v = 0;; v ^= 1) {
                makeVersion(v);
                save();
            }
        }
        timespec wait{0, delay(random)};
        ::nanosleep(&wait, nullptr);
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const Bytes now = ReadBytes(path);
        ASSERT_TRUE(now == versions[0] || now == versions[1])
            << "round " << round << ": " << now.size() << " bytes on disk";
    }
}

TEST_F(SaveFailures, KillAtAnyMomentLeavesOldOrNew) {
    ExpectKillLeavesOldOrNew(
        SavePath("Player1.QCP"),
        [](int v) {
            MakeLocalPlayer(DeckFrom(static_cast<int16_t>(1 + 40 * v)), v == 0 ? "ANNA" : "BERNADETTE");
        },
        &SavePlayer);

    ASSERT_TRUE(SavePlayer());
    StartOpponentMatch(5, 1);
    ASSERT_TRUE(RunMatch([] { return gMatch.GetBoard().CountFree() < 20; }));
    ExpectKillLeavesOldOrNew(
        SavePath("QuickSave.QCP"), [](int v) { gClubActive = static_cast<uint8_t>(v); },
        [] { return WriteQuickSave(); });
}

// The new file reaches the storage device before it replaces the old one,
// and the directory's new entry right after.
TEST_F(SaveFailures, SavesAreFlushedBeforeTheyReplaceTheOldFile) {
    const std::filesystem::path trace = PrepareInstallation() / "trace.txt";
    for (const char* name : {"Player1.QCP", "QuickSave.QCP"}) {
        SCOPED_TRACE(name);
        const size_t from = ReadBytes(trace).size();
        ASSERT_TRUE(std::string(name) == "Player1.QCP" ? SavePlayer() : WriteQuickSave());
        const Bytes all = ReadBytes(trace);
        std::string text(all.begin() + static_cast<long>(from), all.end());
        const std::string file = SavePath(name).string();
        const std::string part = file + ".tmp";
        size_t write = text.find(" write " + part);
        size_t flush = text.find(" flush " + part + "\n");
        size_t move = text.find(" move " + part + " " + file);
        size_t directory = text.find(" flush " + SavePath(name).parent_path().string() + "\n");
        ASSERT_NE(write, std::string::npos) << text;
        ASSERT_NE(flush, std::string::npos) << text;
        ASSERT_NE(move, std::string::npos) << text;
        ASSERT_NE(directory, std::string::npos) << text;
        EXPECT_LT(write, flush);
        EXPECT_LT(flush, move);
        EXPECT_LT(move, directory);
    }
}

// How many times the text stands in the output.
int Occurrences(const std::string& output, const std::string& text) {
    int count = 0;
    for (size_t at = output.find(text); at != std::string::npos; at = output.find(text, at + 1)) ++count;
    return count;
}

// A character file that cannot be written (here a folder stands where its
// new file is written first) is said in the note box once until one is
// written again, and every time on standard error with the file and why.
TEST_F(SaveFailures, CharacterThatCannotBeSavedIsToldOnceASpell) {
    const char note[] = "The game could not be saved.";
    const std::filesystem::path part = SavePath("Player1.QCP.tmp");
    const std::string said = "could not save " + SavePath("Player1.QCP").string() + ": Is a directory";
    ASSERT_TRUE(SavePlayer());
    const Bytes old = ReadBytes(SavePath("Player1.QCP"));
    gProfile.AddCredits(100);
    const int before = NoteCount(note);

    std::filesystem::create_directory(part);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SavePlayer());
    EXPECT_FALSE(SavePlayer());
    EXPECT_FALSE(SaveGameAndCharacter());
    std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(NoteCount(note), before + 1);
    EXPECT_EQ(Occurrences(errors, said), 3) << errors;
    EXPECT_EQ(ReadBytes(SavePath("Player1.QCP")), old);

    // Saved again, then failing again: a new spell, told again, but never
    // while the window closes.
    std::filesystem::remove(part);
    ASSERT_TRUE(SavePlayer());
    std::filesystem::create_directory(part);
    ::testing::internal::CaptureStderr();
    SetSaveFailureNote(SaveFailureNote::kErrorOutput);
    EXPECT_FALSE(SavePlayer());
    EXPECT_EQ(NoteCount(note), before + 1);
    SetSaveFailureNote(SaveFailureNote::kNoteBox);
    EXPECT_FALSE(SavePlayer());
    EXPECT_EQ(NoteCount(note), before + 2);
    errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Occurrences(errors, said), 2) << errors;
    std::filesystem::remove(part);

    // Without a character nothing is written, so nothing is told.
    gProfile.SetSlot(kNoCharacterSlot);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SavePlayer());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(NoteCount(note), before + 2);
}

std::filesystem::path Repro(const char* name) {
    return std::filesystem::path(QV_SOURCE_DIR) / "tests" / "data" / "repro" / "tournament-fee-unsaved" / name;
}

// The next start from the files in SAVE, as WinMain makes it: whether it
// resumes a joined tournament that its character has not paid for, having
// played no tournament of that level.
bool NextStartPlaysATournamentUnpaid() {
    gProfile.Reset();
    ClearStatistics();
    gClub.Reset();
    gClubActive = 1;
    if (!LoadQuickSave()) return false;
    const TournamentScreen* tournament = gClub.GetTournamentScreen();
    return tournament != nullptr && tournament->Joined() && gTourneysPlayed[tournament->Level()] == 0;
}

// The game as the reproducer's stood when it was left: the guest
// tournament's first match under way and its fee paid in memory, with the
// character file on disk from before the fee.
class LeavingSaves : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        const auto replace = std::filesystem::copy_options::overwrite_existing;
        std::filesystem::copy_file(Repro("Player1.QCP"), SavePath("Player1.QCP"), replace);
        std::filesystem::copy_file(Repro("QuickSave.QCP"), SavePath("QuickSave.QCP"), replace);
        // The reproducer's two files: its tournament comes back unpaid.
        ASSERT_TRUE(NextStartPlaysATournamentUnpaid());
        ASSERT_EQ(gClubActive, 0) << "its match resumed";
        oldCharacter_ = ReadBytes(SavePath("Player1.QCP"));
        gProfile.SubtractCredits(TournamentScreen::FeeOf(0));
        ++gTourneysPlayed[0];
    }
    void TearDown() override {
        for (const char* name : {"QuickSave.QCP", "QuickSave.QCP.tmp", "Player1.QCP.tmp"}) {
            std::filesystem::remove(SavePath(name));
        }
        gClubActive = 1;
        gClub.Reset();
    }
    // A quick save stands only beside the character it was written with.
    bool InStep() const {
        return !std::filesystem::exists(SavePath("QuickSave.QCP")) ||
               ReadBytes(SavePath("Player1.QCP")) != oldCharacter_;
    }
    // The files as they were before leaving: the old character, no quick save.
    void PutOldFilesBack() const {
        WriteBytes(SavePath("Player1.QCP"), oldCharacter_);
        for (const char* name : {"QuickSave.QCP", "QuickSave.QCP.tmp", "Player1.QCP.tmp"}) {
            std::filesystem::remove(SavePath(name));
        }
    }

    Bytes oldCharacter_;
};

TEST_F(LeavingSaves, FileSizeLimitAtAnyByteNeverLeavesTheQuickSaveBesideTheOldCharacter) {
    // Standard error names the file and why (its capture is held to the
    // limit too, which leaves room for the line).
    ::testing::internal::CaptureStderr();
    {
        FileSizeLimit cap(oldCharacter_.size() - 1);
        EXPECT_FALSE(SaveGameAndCharacter());
    }
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("could not save " + SavePath("Player1.QCP").string() + ": File too large"), std::string::npos)
        << errors;
    ASSERT_TRUE(InStep());

    rlim_t limit = 0;
    for (;; ++limit) {
        bool saved = false;
        {
            FileSizeLimit cap(limit);
            saved = SaveGameAndCharacter();
        }
        ASSERT_TRUE(InStep()) << "limit " << limit;
        ASSERT_TRUE(NoPartLeft()) << "limit " << limit;
        if (saved) break;
        ASSERT_FALSE(std::filesystem::exists(SavePath("QuickSave.QCP"))) << "limit " << limit;
        ASSERT_LT(limit, 100000u);
    }
    // The limits between the two sizes let the quick save through but not
    // the character: those are the ones that left the reproducer.
    const size_t quickSave = ReadBytes(SavePath("QuickSave.QCP")).size();
    EXPECT_LT(quickSave, ReadBytes(SavePath("Player1.QCP")).size());
    EXPECT_EQ(limit, ReadBytes(SavePath("Player1.QCP")).size());
    EXPECT_FALSE(NextStartPlaysATournamentUnpaid());
    EXPECT_EQ(gTourneysPlayed[0], 1);
    EXPECT_EQ(gClubActive, 0) << "the tournament's match comes back with its fee paid";
}

// A kill between the two writes, as the reproducer's game met it: the
// process ends at the character's first byte past the file-size limit,
// after the quick save was written whole.
TEST_F(LeavingSaves, KillBetweenTheTwoWritesLeavesNoQuickSave) {
    const rlim_t limit = oldCharacter_.size() - 1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        platform::OpenTrace("");  // the trace is past the limit already
        ::signal(SIGXFSZ, SIG_DFL);
        const rlimit lowered{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &lowered);
        SaveGameAndCharacter();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "status " << status;
    EXPECT_TRUE(std::filesystem::exists(SavePath("QuickSave.QCP")) ||
                std::filesystem::exists(SavePath("QuickSave.QCP.tmp")))
        << "the quick save was written before the kill";
    EXPECT_EQ(ReadBytes(SavePath("Player1.QCP")), oldCharacter_);
    EXPECT_TRUE(InStep());
    EXPECT_FALSE(NextStartPlaysATournamentUnpaid());
}

// Killed at random moments of leaving, from its start to past its end.
TEST_F(LeavingSaves, KillAtAnyMomentNeverPairsTheQuickSaveWithTheOldCharacter) {
    timespec start{}, end{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    for (int i = 0; i < 4; ++i) {
        PutOldFilesBack();
        ASSERT_TRUE(SaveGameAndCharacter());
    }
    ::clock_gettime(CLOCK_MONOTONIC, &end);
    const long perSave = ((end.tv_sec - start.tv_sec) * 1000000000L + (end.tv_nsec - start.tv_nsec)) / 4;
    std::mt19937 random(2024);
    std::uniform_int_distribution<long> delay(0, 2 * perSave);
    for (int round = 0; round < 60; ++round) {
        PutOldFilesBack();
        const pid_t pid = ::fork();
        if (pid == 0) {
            platform::OpenTrace("");
            SaveGameAndCharacter();
            ::_exit(0);
        }
        timespec wait{0, delay(random)};
        ::nanosleep(&wait, nullptr);
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(InStep()) << "round " << round;
    }
}

}  // namespace
}  // namespace qv::test
