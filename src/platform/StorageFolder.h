// The per-user folder for settings, logs and saves:
// $XDG_DATA_HOME/<maker>/<game>/ (XDG_DATA_HOME defaults to ~/.local/share).
// The application names the maker and the game; the platform knows neither.
#pragma once

#include <string>

// The data home folder (created when missing) with the maker's and the game's
// folders below it, created level by level, ending in "/", when a file can be
// written there (tested with "writetest.dat", which never remains). When the
// data home itself cannot be had, the working folder is the candidate ("", file
// names stay relative). When the candidate is not writable the player is told
// (ReportNoStorageFolder) and the result is "".
std::string FindStorageFolder(const std::string& maker, const std::string& game);

// Tells the player that no folder can hold the game's files: the message box
// "Unable to find suitable folder to save data" (caption "Storage path
// error"), or standard error in headless runs or when no box can be shown.
void ReportNoStorageFolder();

// The base folder: XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::string DataHomeFolder();

// True when a file can be created, written and deleted in the folder (which ends
// with "/", or is "" for the working folder); the test file never remains.
bool TestWritable(const std::string& folder);
