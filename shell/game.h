// The program's spine: start-up, the main loop and the ways out.
#pragma once

#include <cstdint>

#include "platform/display.h"
#include "platform/messages.h"

namespace qv {

extern platform::GXDisplayProperties gDisplayProperties;

int WinMain(int showCommand);
void OnOutOfMemory();
uint16_t RegisterMainWindowClass(const WString& className);
bool StartInstance(int showCommand);
void InitGame();
// One main-loop prompt: of the B, C and A flags the first that is set is
// cleared and its question asked; "Ok" leaves. Back buffer 1 is as it was
// afterwards.
void HandleButtonPrompt();
// Writes the quick save and the character in step (SaveGameAndCharacter),
// closes and ends the process (kind 2 quit, 3 contacts, 4 calendar).
[[noreturn]] void LeaveGame(int kind);

platform::LResult MainWindowProc(platform::WindowHandle window, uint32_t message,
                                 platform::WParam wParam, platform::LParam lParam);

}  // namespace qv
