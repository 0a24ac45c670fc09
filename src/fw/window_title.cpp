#include "fw/window_title.h"

namespace fw {

std::string FrameTitle(const std::string& docTitle, int number, int count) {
    if (count <= 1) return docTitle;
    return docTitle + ":" + std::to_string(number);
}

std::string MainWindowTitle(const std::string& appName, const std::string& activeFrameTitle) {
    if (activeFrameTitle.empty()) return appName;
    return appName + " - " + activeFrameTitle;
}

} // namespace fw
