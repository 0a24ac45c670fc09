#pragma once
// The most-recently-used file list of the File menu: newest first, without
// duplicates, kept in the settings store as "Recent File List"/File1..FileN.

#include "fw/profile_store.h"

#include <cstddef>
#include <string>
#include <vector>

namespace fw {

inline constexpr const char* kRecentFileSection = "Recent File List";

class RecentFileList {
public:
    explicit RecentFileList(std::size_t capacity = 4) : capacity_(capacity) {}

    // path moves to the front; the oldest entry drops out when the list is full.
    void Add(const std::string& path);
    // Forgets an entry (a file that could not be opened); out-of-range is ignored.
    void Remove(std::size_t index);
    void Remove(const std::string& path);

    std::size_t Size() const { return paths_.size(); }
    std::size_t Capacity() const { return capacity_; }
    const std::string& At(std::size_t index) const { return paths_.at(index); }
    const std::vector<std::string>& Paths() const { return paths_; }

    // The menu item of entry index: "&1 name" with the file's name, and as much
    // of its folder as fits in maxLength characters ("&2 .../filters/lp.tvp").
    std::string MenuText(std::size_t index, std::size_t maxLength = 40) const;

    // Reads File1..FileN; empty and duplicate entries are skipped.
    void Load(const ProfileStore& store);
    // Writes File1..FileN, empty texts for the unused slots.
    void Save(ProfileStore& store) const;

private:
    std::size_t capacity_;
    std::vector<std::string> paths_;
};

} // namespace fw
