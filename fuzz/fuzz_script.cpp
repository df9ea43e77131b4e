// Fuzz target: a headless input script parsed and played against a stream of trace events.
// Captures are left out: they would write wherever the script says.
#include "fuzz/fuzz_support.h"
#include "platform/headless/script.h"

using namespace qv;
using namespace qv::platform::headless;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::StartHeadless();
    const std::string source(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> errors;
    std::vector<ScriptStep> steps = ParseScript(source, &errors);
    std::erase_if(steps, [](const ScriptStep& step) { return step.kind == ScriptStep::Kind::kCapture; });

    ScriptRunner runner;
    runner.Load(std::move(steps));
    uint64_t now = 0;
    for (int turn = 0; turn < 64 && !runner.Finished(); ++turn) {
        runner.NoteTrace(turn % 2 ? "present" : "gamebox", "Ok " + std::to_string(turn));
        runner.NoteTrace("state", "main loop");
        now += static_cast<uint64_t>(1) << (turn % 40);
        runner.Run(now);
        fuzz::DrainMessages();
    }
    return 0;
}
