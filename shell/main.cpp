// The process entry: starts the platform, runs the game and ends with its code.
#include "platform/system.h"
#include "shell/game.h"

int main() {
    if (!qv::platform::Startup()) {
        return 1;
    }
    qv::platform::ExitProcess(qv::WinMain(1));
}
