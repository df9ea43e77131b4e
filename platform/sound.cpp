// Sound: wave effects and the music stream, checked here and played by the backend.
#include "platform/sound.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/audio_pace.h"
#include "platform/backend.h"
#include "platform/config.h"
#include "platform/files.h"
#include "platform/system.h"

namespace qv::platform {
namespace {

bool gAudioOpen = false;
// QUORVANE_AUDIO=none: the output takes samples at the clock's pace, as a
// device would, and drops them.
AudioPace gSilentOutput;

bool Readable(const std::string& hostPath) {
    int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

}  // namespace

bool PlaySoundAsync(const WString& path) {
    std::string hostPath = MapPath(path);
    if (!Readable(hostPath)) {
        Trace("soundfail", hostPath);
        return false;
    }
    Trace("sound", hostPath);
    if (GetConfig().audioNone) {
        return false;
    }
    return CurrentBackend().PlayWave(hostPath);
}

bool OpenAudioOutput(int rate, int channels, int bits) {
    CloseAudioOutput();
    if (rate < 4000 || rate > 192000 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16)) {
        return false;
    }
    if (GetConfig().audioNone) {
        gSilentOutput.Start(rate, channels, bits, CurrentBackend().Now());
        return true;
    }
    gAudioOpen = CurrentBackend().OpenAudio(rate, channels, bits);
    return gAudioOpen;
}

void CloseAudioOutput() {
    gSilentOutput.Stop();
    if (gAudioOpen) {
        CurrentBackend().CloseAudio();
        gAudioOpen = false;
    }
}

uint32_t AudioBytesWanted() {
    if (gSilentOutput.Running()) {
        return gSilentOutput.Wanted(CurrentBackend().Now());
    }
    return gAudioOpen ? CurrentBackend().AudioBytesWanted() : 0;
}

void QueueAudio(const void* data, uint32_t bytes) {
    if (data == nullptr || bytes == 0) {
        return;
    }
    if (gSilentOutput.Running()) {
        gSilentOutput.Add(bytes, CurrentBackend().Now());
    } else if (gAudioOpen) {
        CurrentBackend().QueueAudio(data, bytes);
    }
}

}  // namespace qv::platform
