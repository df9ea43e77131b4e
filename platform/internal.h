// Hooks between the platform's own files (not for game code).
#pragma once

#include <cstdint>
#include <string>

#include "platform/messages.h"

namespace qv::platform {

// Queues an input message from the host or the script; a WM_MOUSEMOVE right
// after another queued WM_MOUSEMOVE replaces it.
void PostInput(uint32_t message, WParam wParam, LParam lParam);
// Acts on a close or quit that waits behind a modal wait (see
// SetQuitHandler); called after every present.
void TakeCloseDuringWait();
// Asks for a WM_PAINT (expose, show).
void InvalidateWindow();
// The code of the last WM_QUIT taken from the queue, or 0.
int LastQuitCode();
// Forgets every queued message, timer, the window and its class.
void ResetMessages();
void ResetQueue();
// Our window, or nullptr before it is created and after it is destroyed.
WindowHandle MainWindowHandle();

// Creates the directories above a host path (mkdir -p of its parent).
void MakeParentDirectories(const std::string& hostPath);
// fsync, tried again when a signal interrupts it; not traced.
bool SyncDescriptor(int fd);
// Forces the names in the directory that holds a host path to the storage
// device (after a rename into it); not traced. *opened, when given, receives
// the directory's path once it could be opened.
bool SyncDirectory(const std::string& hostPath, std::string* opened = nullptr);

// Single instance: takes the lock for our window; checks for another
// instance; sends and polls raise requests.
void ClaimInstance();
bool OtherInstanceRunning();
void RequestOtherInstanceForeground();
void PollInstanceRequests();
void ReleaseInstance();

}  // namespace qv::platform
