// The per-user folder for settings, logs and saves:
// $XDG_DATA_HOME/Orvelworks/Drovalin/ (XDG_DATA_HOME defaults to ~/.local/share).
#pragma once

#include <string>

// Creates the folder level by level and tests it by writing and deleting
// "writetest.dat". Returns the absolute path with a trailing "/", or "" when it
// is not writable; then the message box "Unable to find suitable folder to save
// data" (caption "Storage path error") is shown, or the text goes to standard
// error in headless runs or when no message box can be shown.
std::string FindStorageFolder();

// Tells the player that no folder can hold the game's files: the message box
// above, or standard error in headless runs or when no box can be shown.
void ReportNoStorageFolder();

// The base folder: XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::string DataHomeFolder();

// True when a file can be created, written and deleted in the folder (which ends
// with "/"); the test file never remains.
bool TestWritable(const std::string& folder);
