#pragma once
// Whole-file reading and safe writing for documents and exports. A write goes to
// a temporary file in the target's folder, is flushed to disk and then renamed
// over the target, so the target holds either its old or its complete new
// contents, whatever fails on the way.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

struct FileResult {
    bool ok = false;
    // Why it failed, e.g. "No space left on device"; empty on success.
    std::string error;

    explicit operator bool() const { return ok; }
};

// Largest file ReadFileBytes accepts unless told otherwise.
inline constexpr std::size_t kMaxReadBytes = std::size_t{64} << 20U;

// Reads the whole regular file at path into bytes. Fails for a missing or
// unreadable file, a folder, a device or pipe (never blocks on one), and a file
// larger than maxBytes, which is refused before anything is allocated.
FileResult ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes,
                         std::size_t maxBytes = kMaxReadBytes);

// How far a write waits for the disk. kSynced flushes the file and its folder
// before and after the rename (projects); kRenameOnly still replaces the file
// atomically for every reader but leaves flushing to the system, for files that
// are regenerated on every change (exports) where a flush per write would stall.
enum class Durability { kSynced, kRenameOnly };

// Produces the new contents on out; returns an empty text when done, otherwise
// the reason it gave up (the write then fails with that text).
using ContentWriter = std::function<std::string(std::ostream& out)>;

// Replaces the file at path atomically with what write produces. A symbolic link
// is followed and its target replaced; an existing file keeps its permission bits
// (and its owner and group where the process may set them), a new one gets 0666
// less the umask. Refused: an existing target that is not a
// regular file or that this process may not write. On any failure the target is
// unchanged and no temporary file is left behind.
FileResult WriteFileAtomically(const std::string& path, const ContentWriter& write,
                               Durability durability = Durability::kSynced);
FileResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                               Durability durability = Durability::kSynced);
FileResult WriteFileAtomically(const std::string& path, std::string_view text,
                               Durability durability = Durability::kSynced);

} // namespace fw
