#include "test_files.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <linux/capability.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace fw::test {
namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path p = fs::temp_directory_path() / ("tarvo-fw-test-" + std::to_string(rd()) +
                                                        "-" + std::to_string(::getpid()));
        std::error_code ec;
        if (fs::create_directory(p, ec) && !ec) {
            path_ = p;
            return;
        }
    }
    ADD_FAILURE() << "no scratch folder could be made";
}

ScratchDir::~ScratchDir() {
    if (path_.empty()) {
        return;
    }
    // Give every folder its write bit back first, so that nothing stays behind.
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
    }
    fs::remove_all(path_, ec);
}

std::vector<std::string> ScratchDir::Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path_)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

namespace {

constexpr std::uint32_t kOverrideCaps =
    (1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH) | (1U << CAP_FOWNER);

bool GetCaps(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data) == 0;
}

bool SetCaps(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

WithoutPermissionOverride::WithoutPermissionOverride() {
    __user_cap_data_struct data[2]{};
    if (!GetCaps(data)) {
        return;
    }
    saved_[0] = data[0].effective;
    saved_[1] = data[1].effective;
    if ((data[0].effective & kOverrideCaps) == 0) {
        return;
    }
    data[0].effective &= ~kOverrideCaps;
    changed_ = SetCaps(data);
}

WithoutPermissionOverride::~WithoutPermissionOverride() {
    if (!changed_) {
        return;
    }
    __user_cap_data_struct data[2]{};
    if (GetCaps(data)) {
        data[0].effective = saved_[0];
        data[1].effective = saved_[1];
        SetCaps(data);
    }
}

bool PermissionsEnforced() {
    ScratchDir dir;
    const fs::path locked = dir.Path() / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string probe = (locked / "probe").string();
    std::ofstream out(probe);
    const bool refused = !out.is_open();
    out.close();
    ::unlink(probe.c_str());
    return refused;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedHandler_);
}

} // namespace fw::test
