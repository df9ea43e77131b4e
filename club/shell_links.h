// The shell's values that the club reads, gathered in one place while they
// still live in shell/: gClubActive, gKeyState and gInstallDir.
#pragma once

#include "shell/game.h"
#include "shell/input.h"
#include "shell/settings.h"
