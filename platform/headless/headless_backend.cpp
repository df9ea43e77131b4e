// The headless backend: no window and no devices; a virtual clock, input
// from the script, presents hashed into the trace and dumped on request.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/audio_pace.h"
#include "platform/backend.h"
#include "platform/config.h"
#include "platform/headless/headless.h"
#include "platform/headless/script.h"
#include "platform/internal.h"
#include "platform/pixels.h"
#include "platform/system.h"
#include "platform/trace.h"

namespace qv::platform {
namespace {

constexpr uint64_t kFramePeriodMs = 16;
constexpr int kPixels = kScreenWidth * kScreenHeight;

std::string ReadWholeFile(const std::string& path, bool* ok) {
    std::string content;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    *ok = fd >= 0;
    if (fd < 0) {
        return content;
    }
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return content;
}

// Whether present number n (from 1) is chosen by a capture list such as
// "1,5,10-20" or "all".
bool CaptureChosen(const std::string& list, int n) {
    if (list == "all") {
        return true;
    }
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        std::string item = list.substr(start, end - start);
        start = end + 1;
        int first = 0;
        int last = 0;
        char extra = 0;
        if (std::sscanf(item.c_str(), "%d-%d%c", &first, &last, &extra) == 2) {
            if (n >= first && n <= last) {
                return true;
            }
        } else if (std::sscanf(item.c_str(), "%d%c", &first, &extra) == 1 && n == first) {
            return true;
        }
    }
    return false;
}

class HeadlessBackend;
HeadlessBackend* gActive = nullptr;

class HeadlessBackend final : public Backend {
public:
    HeadlessBackend() : limit_(GetConfig().timeLimit), capture_(GetConfig().capture) {
        gActive = this;
        SetTraceListener(&HeadlessBackend::OnTrace, &HeadlessBackend::WantsTrace);
        const std::string& scriptPath = GetConfig().script;
        if (scriptPath.empty()) {
            return;
        }
        bool ok = false;
        std::string source = ReadWholeFile(scriptPath, &ok);
        if (!ok) {
            std::fprintf(stderr, "Quorvane: cannot read the script %s\n", scriptPath.c_str());
            Trace("script-error", "cannot read " + scriptPath);
        }
        std::vector<std::string> errors;
        script_.Load(headless::ParseScript(source, &errors));
        for (const std::string& error : errors) {
            std::fprintf(stderr, "Quorvane: script line %s\n", error.c_str());
            Trace("script-error", error);
        }
    }

    ~HeadlessBackend() override {
        if (gActive == this) {
            gActive = nullptr;
            SetTraceListener(nullptr);
        }
    }

    bool OpenDisplay() override { return true; }
    void CloseDisplay() override {}

    void Present(const uint16_t* frame, uint32_t format) override {
        lastFrame_.assign(frame, frame + kPixels);
        lastFormat_ = format;
        ++presents_;
        // The hash is the dearest part of a present: made only for a trace
        // that is written or a script step that reads it.
        bool withText = false;
        bool waited = script_.WaitsForPresent(&withText);
        if (TraceEnabled() || waited) {
            char hash[24] = "";
            if (TraceEnabled() || withText) {
                std::snprintf(hash, sizeof hash, "%016llx",
                              static_cast<unsigned long long>(HashFrame(frame, kPixels)));
            }
            Trace("present", hash);
        }
        if (!capture_.empty() && CaptureChosen(capture_, presents_)) {
            CaptureLastFrame(FrameFileName(presents_));
        }
        Advance(kFramePeriodMs);
    }

    bool CaptureLastFrame(const std::string& hostPath) override {
        if (presents_ == 0) {
            return false;
        }
        std::vector<uint8_t> rgb = FrameToRgb(lastFrame_.data(), kPixels, lastFormat_);
        // A capture directory that does not exist yet is made.
        MakeParentDirectories(hostPath);
        bool ok = WritePng(hostPath, kScreenWidth, kScreenHeight, rgb.data());
        Trace(ok ? "capture" : "capturefail", hostPath);
        return ok;
    }

    void PumpEvents() override {
        Advance(1);
        script_.Run(now_);
    }

    void WaitForEvents(uint32_t) override {}

    uint32_t Ticks() override {
        Advance(1);
        return static_cast<uint32_t>(now_);
    }

    uint64_t Now() const override { return now_; }
    void Sleep(uint32_t ms) override { Advance(ms); }
    int64_t DefaultTime() const override { return 1000000000; }

    int MessageBox(const std::string&, const std::string&, uint32_t) override { return IDOK; }
    void Raise() override {}

    bool OpenAudio(int rate, int channels, int bits) override {
        audio_.Start(rate, channels, bits, now_);
        return true;
    }

    void CloseAudio() override { audio_.Stop(); }

    uint32_t AudioBytesWanted() override { return audio_.Wanted(now_); }

    void QueueAudio(const void* data, uint32_t bytes) override {
        if (!audio_.Running()) {
            return;
        }
        audio_.Add(bytes, now_);
        audioBytes_ += bytes;
        const auto* p = static_cast<const uint8_t*>(data);
        for (uint32_t i = 0; i < bytes; ++i) {
            audioHash_ = (audioHash_ ^ p[i]) * 0x100000001B3ull;
        }
    }

    bool PlayWave(const std::string&) override { return true; }

    void Shutdown() override {
        if (shutDown_) {
            return;
        }
        shutDown_ = true;
        if (capture_ == "last" && presents_ > 0) {
            CaptureLastFrame(FrameFileName(presents_));
        }
        if (audioBytes_ > 0) {
            char hash[24];
            std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(audioHash_));
            Trace("audio", std::to_string(audioBytes_) + " " + hash);
        }
    }

    void Advance(uint64_t ms) {
        now_ += ms;
        if (now_ > limit_ && !timedOut_) {
            timedOut_ = true;
            Trace("timeout", "");
            ExitProcess(124);
        }
    }

    const std::vector<uint16_t>& LastFrame() const { return lastFrame_; }
    uint32_t LastFormat() const { return lastFormat_; }
    int Presents() const { return presents_; }
    uint64_t AudioBytes() const { return audioBytes_; }
    uint64_t AudioHashValue() const { return audioHash_; }

private:
    static void OnTrace(const std::string& kind, const std::string& text) {
        if (gActive != nullptr) {
            gActive->script_.NoteTrace(kind, text);
        }
    }

    static bool WantsTrace(const char* kind) { return gActive != nullptr && gActive->script_.WantsTrace(kind); }

    std::string FrameFileName(int n) const {
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%05d.png", n);
        return GetConfig().captureDir + name;
    }

    uint64_t now_ = 0;
    uint64_t limit_;
    bool timedOut_ = false;
    bool shutDown_ = false;
    std::string capture_;
    headless::ScriptRunner script_;
    std::vector<uint16_t> lastFrame_;
    uint32_t lastFormat_ = 0;
    int presents_ = 0;
    AudioPace audio_;
    uint64_t audioBytes_ = 0;
    uint64_t audioHash_ = 0xCBF29CE484222325ull;
};

const std::vector<uint16_t> kNoFrame;

}  // namespace

Backend* CreateHeadlessBackend() { return new HeadlessBackend(); }

namespace headless {

bool Active() { return gActive != nullptr; }
const std::vector<uint16_t>& LastFrame() { return gActive != nullptr ? gActive->LastFrame() : kNoFrame; }
uint32_t LastFrameFormat() { return gActive != nullptr ? gActive->LastFormat() : 0; }
int PresentCount() { return gActive != nullptr ? gActive->Presents() : 0; }
uint64_t VirtualNow() { return gActive != nullptr ? gActive->Now() : 0; }
void AdvanceTime(uint64_t ms) {
    if (gActive != nullptr) {
        gActive->Advance(ms);
    }
}
uint64_t AudioBytesQueued() { return gActive != nullptr ? gActive->AudioBytes() : 0; }
uint64_t AudioHash() { return gActive != nullptr ? gActive->AudioHashValue() : 0; }

}  // namespace headless
}  // namespace qv::platform
