// What the platform offers for the per-user folder of settings, logs and saves
// ($XDG_DATA_HOME/<maker>/<game>/, XDG_DATA_HOME defaulting to ~/.local/share):
// the base folder, the write test and the message when no folder will do. The
// application chooses the folder (GameApp::ChooseStorageFolder); the platform
// knows neither the maker nor the game.
#pragma once

#include <string>

// Tells the player that no folder can hold the game's files: the message box
// "Unable to find suitable folder to save data" (caption "Storage path
// error"), or standard error in headless runs or when no box can be shown.
void ReportNoStorageFolder();

// The base folder: XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::string DataHomeFolder();

// True when a file can be created, written and deleted in the folder (which ends
// with "/", or is "" for the working folder); the test file never remains.
bool TestWritable(const std::string& folder);
