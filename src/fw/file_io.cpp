#include "fw/file_io.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>
#include <sys/stat.h>
#include <unistd.h>

namespace fw {
namespace {

namespace fs = std::filesystem;

FileResult Failure(std::string why) {
    return {false, std::move(why)};
}
FileResult ErrnoFailure(int err) {
    return Failure(std::strerror(err));
}
FileResult Success() {
    return {true, {}};
}

// Closes a descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now and reports close's error (0 when fine).
    int Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Removes the temporary file unless the rename has consumed it.
class TempFile {
public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    ~TempFile() {
        if (!committed_) {
            ::unlink(path_.c_str());
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }
    void Commit() { committed_ = true; }

private:
    std::string path_;
    bool committed_ = false;
};

int WriteAll(int fd, const char* data, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, data, n);
        if (w < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data += w;
        n -= static_cast<std::size_t>(w);
    }
    return 0;
}

// A buffered output stream over a descriptor that keeps the first write error.
class DescriptorBuf : public std::streambuf {
public:
    explicit DescriptorBuf(int fd) : fd_(fd) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    int Error() const { return error_; }

protected:
    int_type overflow(int_type ch) override {
        if (Drain() != 0) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return Drain() == 0 ? 0 : -1; }

private:
    int Drain() {
        if (error_ == 0) {
            error_ = WriteAll(fd_, pbase(), static_cast<std::size_t>(pptr() - pbase()));
        }
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return error_;
    }

    int fd_;
    int error_ = 0;
    std::array<char, 65536> buffer_{};
};

// The process's umask, read without changing it.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
        }
    }
    // Without /proc the only way is to set it and put it back.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Follows symbolic links to the file a write should replace.
fs::path ResolveTarget(fs::path p) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            break;
        }
        std::error_code ec;
        const fs::path link = fs::read_symlink(p, ec);
        if (ec) {
            break;
        }
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    return p;
}

// Temporary name beside the target: ".name.XXXXXX", the name shortened so the
// result stays within the usual 255-byte limit of a file name.
std::string TempTemplate(const fs::path& target) {
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::string name = target.filename().string();
    if (name.size() > 200) {
        name.resize(200);
    }
    return (folder / ("." + name + ".XXXXXX")).string();
}

void SyncFolder(const fs::path& target) {
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // The rename has happened; a folder that cannot be synced (some network
        // file systems) makes it less durable, not wrong.
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FileResult ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes,
                         std::size_t maxBytes) {
    bytes.clear();
    // Non-blocking open so that a named pipe cannot stall the program.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0) {
        return ErrnoFailure(errno);
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) {
        return ErrnoFailure(errno);
    }
    if (S_ISDIR(st.st_mode)) {
        return ErrnoFailure(EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        return Failure("Not a regular file");
    }
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        return Failure("File too large");
    }
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t r = ::read(fd.Get(), bytes.data() + got, bytes.size() - got);
        if (r < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int err = errno;
            bytes.clear();
            return ErrnoFailure(err);
        }
        if (r == 0) {
            break; // the file shrank while being read: keep what is there
        }
        got += static_cast<std::size_t>(r);
    }
    bytes.resize(got);
    return Success();
}

FileResult WriteFileAtomically(const std::string& path, const ContentWriter& write,
                               Durability durability) {
    if (path.empty()) {
        return ErrnoFailure(ENOENT);
    }
    const fs::path target = ResolveTarget(path);

    mode_t mode = 0666 & ~CurrentUmask();
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        if (!S_ISREG(st.st_mode)) {
            return Failure(S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "Not a regular file");
        }
        // Renaming would replace a write-protected file; writing it would fail.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return ErrnoFailure(errno);
        }
        mode = st.st_mode & 07777;
    }

    std::string name = TempTemplate(target);
    Descriptor fd(::mkostemp(name.data(), O_CLOEXEC));
    if (fd.Get() < 0) {
        return ErrnoFailure(errno);
    }
    TempFile temp(name);
    if (exists) {
        // Keep the file's owner and group where allowed (a privileged process
        // editing someone else's file); otherwise they become this process's.
        static_cast<void>(::fchown(fd.Get(), st.st_uid, st.st_gid));
    }
    static_cast<void>(::fchmod(fd.Get(), mode));

    DescriptorBuf buf(fd.Get());
    std::ostream out(&buf);
    const std::string refused = write(out);
    if (!refused.empty()) {
        return Failure(refused);
    }
    out.flush();
    if (buf.Error() != 0) {
        return ErrnoFailure(buf.Error());
    }
    if (!out) {
        return Failure("Write error");
    }
    if (durability == Durability::kSynced && ::fsync(fd.Get()) != 0) {
        return ErrnoFailure(errno);
    }
    if (const int err = fd.Close(); err != 0) {
        return ErrnoFailure(err);
    }
    if (::rename(temp.Path().c_str(), target.c_str()) != 0) {
        return ErrnoFailure(errno);
    }
    temp.Commit();
    if (durability == Durability::kSynced) SyncFolder(target);
    return Success();
}

FileResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                               Durability durability) {
    return WriteFileAtomically(
        path,
        [bytes](std::ostream& out) {
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            return std::string();
        },
        durability);
}

FileResult WriteFileAtomically(const std::string& path, std::string_view text,
                               Durability durability) {
    return WriteFileAtomically(
        path,
        [text](std::ostream& out) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            return std::string();
        },
        durability);
}

} // namespace fw
