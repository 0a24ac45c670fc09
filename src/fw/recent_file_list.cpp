#include "fw/recent_file_list.h"

#include <algorithm>

namespace fw {
namespace {

std::string Key(std::size_t index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

void RecentFileList::Add(const std::string& path) {
    if (path.empty() || capacity_ == 0) return;
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > capacity_) paths_.resize(capacity_);
}

void RecentFileList::Remove(std::size_t index) {
    if (index < paths_.size()) paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(index));
}

void RecentFileList::Remove(const std::string& path) {
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

std::string RecentFileList::MenuText(std::size_t index, std::size_t maxLength) const {
    std::string text = "&" + std::to_string(index + 1) + " ";
    if (index >= paths_.size()) return text;
    const std::string& path = paths_[index];
    if (path.size() <= maxLength) return text + path;
    // Keep the file name whole and as many trailing folders as fit.
    const std::size_t nameStart = path.find_last_of('/') + 1;
    std::size_t cut = nameStart > 0 ? nameStart - 1 : 0;
    while (cut > 0) {
        const std::size_t previous = path.find_last_of('/', cut - 1);
        if (previous == std::string::npos || path.size() - previous + 3 > maxLength) break;
        cut = previous;
    }
    return text + "..." + path.substr(cut);
}

void RecentFileList::Load(const ProfileStore& store) {
    paths_.clear();
    for (std::size_t i = 0; i < capacity_; ++i) {
        const std::string path = store.GetProfileString(kRecentFileSection, Key(i), "");
        if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end()) {
            paths_.push_back(path);
        }
    }
}

void RecentFileList::Save(ProfileStore& store) const {
    for (std::size_t i = 0; i < capacity_; ++i) {
        store.WriteProfileString(kRecentFileSection, Key(i), i < paths_.size() ? paths_[i] : "");
    }
}

} // namespace fw
