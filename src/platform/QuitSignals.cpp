#include "platform/QuitSignals.h"

#include <SDL.h>

#include <csignal>

namespace {

volatile std::sig_atomic_t g_signal = 0;

extern "C" void NoteQuitSignal(int signal) { g_signal = signal; }

void SetHandler(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

}  // namespace

void InstallQuitSignals() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SetHandler(SIGTERM, NoteQuitSignal);
    SetHandler(SIGINT, NoteQuitSignal);
}

void RestoreQuitSignals() {
    SetHandler(SIGTERM, SIG_DFL);
    SetHandler(SIGINT, SIG_DFL);
}

int QuitSignalReceived() { return g_signal; }

void ClearQuitSignal() { g_signal = 0; }
