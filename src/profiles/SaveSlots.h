// The eight save slots of the player profiles: the profile documents
// "data\Map\1.xml" to "data\Map\8.xml" below the storage folder. A profile path
// read from the users file is accepted only when it names one of them.
#pragma once

#include <string>

namespace SaveSlots {

const int kSlotCount = 8;
// A slot's level in progress is kept beside it: the slot's path + this.
constexpr const char* kStateSuffix = "_playfield.xml";

// The text of slot index (0 to 7): save folder + "data\Map\<index + 1>.xml".
std::string SlotPath(const std::string& saveFolder, int index);

// The path made absolute (against the program folder), with "/" separators,
// no repeated separators and no "." or ".." components.
std::string Normalise(const std::string& path);

// The slot (0 to 7) whose path equals this one after normalising both; -1 when
// the path names no slot of that save folder.
int IndexOf(const std::string& saveFolder, const std::string& path);

// The slot (0 to 7) of a path that ends in a slot's own tail, "data\Map\<N>.xml"
// with either slash, below any root (a storage folder that has moved since the
// path was written); -1 when it does not. root receives the path before the
// tail, its last separator included.
int IndexOfTail(const std::string& path, std::string* root);

// Moves an unreadable document out of the way: "<file>.bad" beside it,
// replacing an older one. False when the file stays where it was.
bool KeepAside(const std::string& path);

// Copies a document that still holds something the game could not take in
// to "<file>.bad" beside it, replacing an older one. False when no copy was made.
bool CopyAside(const std::string& path);

}  // namespace SaveSlots
