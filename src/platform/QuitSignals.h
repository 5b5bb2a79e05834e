// SIGTERM and SIGINT (a logout, `kill`, Ctrl+C) ask the program to end. The
// handlers only note the request; the game answers it at its next frame by
// saving and quitting, without a question nobody would be there to answer.
#pragma once

// Installs the two handlers (and keeps SDL from installing its own, which
// would turn the signal into a close request). Call before SDL starts.
void InstallQuitSignals();
// Gives both signals their default action back.
void RestoreQuitSignals();
// The signal received since the last ClearQuitSignal, or 0.
int QuitSignalReceived();
void ClearQuitSignal();
