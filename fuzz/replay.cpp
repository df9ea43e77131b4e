// Runs a fuzz target once on each input given, as libFuzzer replays a corpus,
// and prints how many inputs reached each mark the target noted (Mark in
// fuzz_support.h): "screen enter 3" says how many quick saves entered the
// card shop after their restore.
//   fuzz_replay_<name> [--expect] <file or directory> ...
// With --expect an input named "reach-<mark>-<rest>" (the mark's spaces
// written as '_') must reach that mark; the program ends with code 1 when
// one does not, so that a seed that stops reaching its screen fails a test.
// QUORVANE_FUZZ_TRACE=<file> writes the game's trace of the runs there.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// The entry is the target's file's to define, not this one's.
#undef QV_FUZZ_ENTRY
#include "fuzz/fuzz_support.h"
#include "platform/trace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

// The mark an input's name promises, or "".
std::string PromisedMark(const std::string& name) {
    const std::string prefix = "reach-";
    if (name.rfind(prefix, 0) != 0) return "";
    const size_t end = name.find('-', prefix.size());
    if (end == std::string::npos) return "";
    std::string mark = name.substr(prefix.size(), end - prefix.size());
    std::replace(mark.begin(), mark.end(), '_', ' ');
    return mark;
}

}  // namespace

int main(int argc, char** argv) {
    bool expect = false;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--expect") {
            expect = true;
        } else if (fs::is_directory(arg)) {
            std::vector<fs::path> files;
            for (const auto& entry : fs::directory_iterator(arg)) {
                if (entry.is_regular_file()) files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        } else {
            inputs.emplace_back(arg);
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s [--expect] <file or directory> ...\n", argv[0]);
        return 2;
    }

    if (const char* trace = std::getenv("QUORVANE_FUZZ_TRACE")) {
        qv::fuzz::StartHeadless();
        qv::platform::OpenTrace(trace);
    }

    std::map<std::string, int> reached;
    int broken = 0;
    for (const fs::path& input : inputs) {
        const qv::fuzz::Bytes bytes = qv::fuzz::ReadBytes(input);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        for (const std::string& mark : qv::fuzz::RunMarks()) ++reached[mark];
        const std::string promised = PromisedMark(input.filename().string());
        if (expect && !promised.empty() && qv::fuzz::RunMarks().count(promised) == 0) {
            std::printf("NOT REACHED: %s does not reach \"%s\"\n", input.c_str(), promised.c_str());
            ++broken;
        }
    }
    std::printf("%zu inputs; inputs that reached each mark:\n", inputs.size());
    for (const auto& [mark, count] : reached) std::printf("  %6d  %s\n", count, mark.c_str());
    if (broken > 0) {
        std::printf("%d inputs did not reach the mark their name promises\n", broken);
        return 1;
    }
    return 0;
}
