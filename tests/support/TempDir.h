// Test helpers: a temporary folder removed with everything in it, and an
// environment variable set for the lifetime of a scope.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, with a trailing "/".
    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + name; }
    // Writes a file (creating missing folders); true on success.
    bool Write(const std::string& relative, const std::string& data) const;

private:
    std::string m_path;
};

class ScopedEnv {
public:
    // value null unsets the variable.
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name, m_old;
    bool m_had = false;
};
