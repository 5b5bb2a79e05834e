#include "platform/FileSystem.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace FileSystem {

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

// Finds an entry of dir whose name equals name ignoring ASCII case.
bool FindCaseInsensitive(const std::string& dir, const std::string& name, std::string& found) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return false;
    bool ok = false;
    while (struct dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            ok = true;
            break;
        }
    }
    ::closedir(d);
    return ok;
}

}  // namespace

std::string ResolvePath(const std::string& path) {
    const std::string norm = Slashed(path);
    if (norm.empty() || Exists(norm)) return norm;

    const bool absolute = norm[0] == '/';
    const bool trailingSlash = norm.back() == '/';
    std::string resolved = absolute ? "/" : "";
    for (const std::string& part : SplitComponents(norm)) {
        std::string candidate = resolved + part;
        if (part != "." && part != ".." && !Exists(candidate)) {
            std::string match;
            if (!FindCaseInsensitive(resolved, part, match)) return norm;
            candidate = resolved + match;
        }
        resolved = candidate + "/";
    }
    if (!trailingSlash && !resolved.empty() && resolved != "/") resolved.pop_back();
    return resolved;
}

bool FileExists(const std::string& path) {
    struct stat st;
    const std::string p = ResolvePath(path);
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    const std::string p = ResolvePath(path);
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

ReadHook& ReadHookOf() {
    static ReadHook hook;
    return hook;
}

}  // namespace

void SetReadHook(ReadHook hook) { ReadHookOf() = std::move(hook); }

bool ReadFile(const std::string& path, std::string& out) {
    out.clear();
    if (const ReadHook& hook = ReadHookOf()) hook(path);
    const std::string p = ResolvePath(path);
    struct stat st;
    if (::stat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) return false;
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return false;
    out.swap(data);
    return true;
}

// The target of a write: the folder resolved case-insensitively, then an existing
// file of the same name in any case, else the name as given.
static std::string ResolveForWrite(const std::string& path) {
    const std::string norm = Slashed(path);
    const size_t slash = norm.find_last_of('/');
    if (slash == std::string::npos) {
        std::string match;
        return FindCaseInsensitive(".", norm, match) ? match : norm;
    }
    const std::string dir = ResolvePath(norm.substr(0, slash + 1));
    const std::string name = norm.substr(slash + 1);
    std::string match;
    if (!Exists(dir + name) && FindCaseInsensitive(dir, name, match)) return dir + match;
    return dir + name;
}

namespace {

WriteHook& Hook() {
    static WriteHook hook;
    return hook;
}

// Asks the hook about a step; true lets it go ahead.
bool StepAllowed(WriteStep step, const std::string& target) {
    const WriteHook& hook = Hook();
    return !hook || hook(step, target);
}

bool WriteAll(FILE* f, const char* data, size_t size) { return size == 0 || std::fwrite(data, 1, size, f) == size; }

void SyncFolderOf(const std::string& target) {
    const size_t slash = target.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename itself is already atomic
    ::close(fd);
}

}  // namespace

void SetWriteHook(WriteHook hook) { Hook() = std::move(hook); }

const char* WriteStepName(WriteStep step) {
    switch (step) {
        case WriteStep::Open: return "open";
        case WriteStep::WriteFirstHalf: return "write";
        case WriteStep::WriteRest: return "write";
        case WriteStep::Flush: return "flush";
        case WriteStep::Sync: return "sync";
        case WriteStep::Close: return "close";
        case WriteStep::Rename: return "rename";
        case WriteStep::Done: return "done";
    }
    return "?";
}

bool WriteFileAtomic(const std::string& path, const std::string& data) { return WriteFileAtomic(path, data, nullptr); }

bool WriteFileAtomic(const std::string& path, const std::string& data, std::string* error) {
    const std::string target = ResolveForWrite(path);
    std::string failed;  // the step that failed, with the system's reason
    auto fail = [&failed](WriteStep step, int code) {
        if (failed.empty()) failed = std::string("cannot ") + WriteStepName(step) + ": " + std::strerror(code);
    };
    if (target.empty() || target.back() == '/') {
        if (error) *error = "not a file name";
        return false;
    }
    const std::string temp = target + ".tmp";

    FILE* f = nullptr;
    if (!StepAllowed(WriteStep::Open, target)) {
        fail(WriteStep::Open, ENOSPC);
    } else if (!(f = std::fopen(temp.c_str(), "wb"))) {
        fail(WriteStep::Open, errno);
    }
    if (f) {
        // The first half reaches the file before the rest is written, so a stop
        // in between leaves a half-written temporary file, never a half-written target.
        const size_t half = data.size() / 2;
        if (!StepAllowed(WriteStep::WriteFirstHalf, target)) fail(WriteStep::WriteFirstHalf, ENOSPC);
        else if (!WriteAll(f, data.data(), half) || std::fflush(f) != 0) fail(WriteStep::WriteFirstHalf, errno);
        if (failed.empty() && !StepAllowed(WriteStep::WriteRest, target)) fail(WriteStep::WriteRest, ENOSPC);
        else if (failed.empty() && !WriteAll(f, data.data() + half, data.size() - half)) fail(WriteStep::WriteRest, errno);
        if (failed.empty() && !StepAllowed(WriteStep::Flush, target)) fail(WriteStep::Flush, EIO);
        else if (failed.empty() && std::fflush(f) != 0) fail(WriteStep::Flush, errno);
        if (failed.empty() && !StepAllowed(WriteStep::Sync, target)) fail(WriteStep::Sync, EIO);
        else if (failed.empty() && ::fsync(::fileno(f)) != 0) fail(WriteStep::Sync, errno);
        // The file is closed whatever happened before.
        const bool closeAllowed = !failed.empty() || StepAllowed(WriteStep::Close, target);
        if (std::fclose(f) != 0) fail(WriteStep::Close, errno);
        else if (!closeAllowed) fail(WriteStep::Close, EIO);
    }
    if (failed.empty() && !StepAllowed(WriteStep::Rename, target)) fail(WriteStep::Rename, EIO);
    else if (failed.empty() && std::rename(temp.c_str(), target.c_str()) != 0) fail(WriteStep::Rename, errno);

    if (!failed.empty()) {
        ::unlink(temp.c_str());  // also a stale one of an earlier, killed run
        if (error) *error = failed;
        return false;
    }
    SyncFolderOf(target);
    StepAllowed(WriteStep::Done, target);
    if (error) error->clear();
    return true;
}

bool CopyFileIfAbsent(const std::string& src, const std::string& dst) {
    if (Exists(ResolveForWrite(dst))) return false;
    std::string data;
    if (!ReadFile(src, data)) return false;
    return WriteFileAtomic(dst, data);
}

bool MakeDirectories(const std::string& path) {
    const std::string norm = Slashed(path);
    if (norm.empty()) return false;
    std::string cur = norm[0] == '/' ? "/" : "";
    for (const std::string& part : SplitComponents(norm)) {
        cur += part;
        if (!Exists(cur) && ::mkdir(cur.c_str(), 0755) != 0 && errno != EEXIST) return false;
        cur += "/";
    }
    struct stat st;
    return ::stat(norm.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& path) { return ::unlink(ResolvePath(path).c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
    return std::rename(ResolvePath(from).c_str(), ResolveForWrite(to).c_str()) == 0;
}

std::string ProgramDir() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    std::string exe(buf, size_t(n));
    const size_t slash = exe.find_last_of('/');
    return slash == std::string::npos ? "./" : exe.substr(0, slash + 1);
}

namespace {

// The data root a tool set; empty for the program folder.
std::string& ChosenRoot() {
    static std::string root;
    return root;
}

}  // namespace

std::string DataRoot() { return ChosenRoot().empty() ? ProgramDir() : ChosenRoot(); }

void SetDataRoot(const std::string& folder) {
    std::string& root = ChosenRoot();
    root = Slashed(folder);
    if (!root.empty() && root.back() != '/') root += '/';
}

std::string Slashed(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

bool IsAbsolute(const std::string& path) { return !path.empty() && (path[0] == '/' || path[0] == '\\'); }

}  // namespace FileSystem
