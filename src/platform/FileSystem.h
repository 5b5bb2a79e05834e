// The file layer: every data file of the game is opened through it.
// Paths may use "\" or "/"; "\" becomes "/". When the exact path does not exist,
// each component is looked up case-insensitively (content written on Windows mixes
// "Screens" and "screens"). Relative paths are relative to the working folder,
// which the game sets to the program folder at start.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace FileSystem {

// "\" to "/", then the case-insensitive lookup. Returns the normalised path
// unchanged (slashes turned) when no file matches.
std::string ResolvePath(const std::string& path);

// True when the path (after ResolvePath) names an existing regular file.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Reads the whole file. False (and out emptied) when it cannot be read.
bool ReadFile(const std::string& path, std::string& out);

// Writes data to a temporary file beside the target (target + ".tmp"), checks
// the write, flush, sync and close, then renames it over the target and syncs
// the folder. On failure the temporary file is removed, the old target stays as
// it was, and false is returned; `error`, when given, then says what failed.
// A process killed part-way leaves the old target or the new one, never a mix
// (at most a stale temporary file, which the next write replaces).
bool WriteFileAtomic(const std::string& path, const std::string& data);
bool WriteFileAtomic(const std::string& path, const std::string& data, std::string* error);

// ---- test hook: faults and stops inside WriteFileAtomic

// The steps of one write, in order. The hook is called before each; for Open,
// WriteFirstHalf and WriteRest a false answer fails the step as a full disk
// would (ENOSPC), for Flush and Sync as a failing flush or sync (EIO), for
// Close the file is closed but the close reports failure (EIO), for Rename
// the rename fails. Done comes after the rename; its answer is ignored. Before
// WriteRest the first half of the data is already in the temporary file.
enum class WriteStep { Open, WriteFirstHalf, WriteRest, Flush, Sync, Close, Rename, Done };
using WriteHook = std::function<bool(WriteStep step, const std::string& target)>;
// Installs the hook (an empty one removes it). For tests only.
void SetWriteHook(WriteHook hook);
const char* WriteStepName(WriteStep step);

// ---- test hook: the reads
// Called with the path of every ReadFile, as given. For tests only (an empty
// hook removes it).
using ReadHook = std::function<void(const std::string& path)>;
void SetReadHook(ReadHook hook);

// Copies src to dst when dst does not exist yet. False when dst exists or the copy failed.
bool CopyFileIfAbsent(const std::string& src, const std::string& dst);

// Creates the folder and every missing parent. True when it exists afterwards.
bool MakeDirectories(const std::string& path);

bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

// The folder of the running executable, with a trailing "/".
std::string ProgramDir();

// The folder that holds data/, with a trailing "/": the one relative data
// paths are put under where a full path is made of them (MakeAbsolutePath,
// Resource_MakePath). The program folder, unless a tool working on data
// elsewhere sets it (an empty folder sets it back).
std::string DataRoot();
void SetDataRoot(const std::string& folder);

// True for paths that are absolute on this system (a leading "/").
bool IsAbsolute(const std::string& path);
// The path with every "\" turned into "/": the one place where the data's
// Windows-style names become this system's.
std::string Slashed(const std::string& path);

}  // namespace FileSystem
