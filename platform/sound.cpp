// Sound: wave effects and the music stream, checked here and played by the backend.
#include "platform/sound.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/backend.h"
#include "platform/config.h"
#include "platform/files.h"
#include "platform/system.h"

namespace qv::platform {
namespace {

bool gAudioOpen = false;

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
    if (GetConfig().audioNone || rate < 4000 || rate > 192000 || (channels != 1 && channels != 2) ||
        (bits != 8 && bits != 16)) {
        return false;
    }
    gAudioOpen = CurrentBackend().OpenAudio(rate, channels, bits);
    return gAudioOpen;
}

void CloseAudioOutput() {
    if (gAudioOpen) {
        CurrentBackend().CloseAudio();
        gAudioOpen = false;
    }
}

uint32_t AudioBytesWanted() { return gAudioOpen ? CurrentBackend().AudioBytesWanted() : 0; }

void QueueAudio(const void* data, uint32_t bytes) {
    if (gAudioOpen && data != nullptr && bytes > 0) {
        CurrentBackend().QueueAudio(data, bytes);
    }
}

}  // namespace qv::platform
