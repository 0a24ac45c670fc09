#pragma once
// File-system helpers for the framework tests: a scratch folder, whole-file
// access, and the conditions under which writes fail (read-only folders for a
// process that would otherwise bypass permissions, a file-size limit).

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace fw::test {

// A fresh folder under the temporary directory, removed with its contents.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path path_;
};

// Points TMPDIR somewhere else for its lifetime.
class TempDirOverride {
public:
    explicit TempDirOverride(const std::string& path) {
        if (const char* old = std::getenv("TMPDIR"); old != nullptr) old_ = old;
        setenv("TMPDIR", path.c_str(), 1);
    }
    ~TempDirOverride() {
        if (old_) {
            setenv("TMPDIR", old_->c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }
    TempDirOverride(const TempDirOverride&) = delete;
    TempDirOverride& operator=(const TempDirOverride&) = delete;

private:
    std::optional<std::string> old_;
};

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

// Drops the capabilities that let root ignore file permissions from the
// effective set for its lifetime, so that permission tests mean the same for
// every user.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride();
    ~WithoutPermissionOverride();
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

private:
    bool changed_ = false;
    std::uint32_t saved_[2] = {0, 0};
};

// True when a folder with mode 0555 refuses a new file for this process now.
bool PermissionsEnforced();

// Limits the size of files this process writes, as a full disk would; writes
// past the limit fail with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = nullptr;
};

} // namespace fw::test
