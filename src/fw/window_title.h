#pragma once
// Window titles: a project's windows are "IIR1", or "IIR1:1", "IIR1:2", ...
// while it has more than one; the main window names the active project.

#include <string>

namespace fw {

// number counts from 1 among the document's count windows.
std::string FrameTitle(const std::string& docTitle, int number, int count);
// "TarvoIIR - IIR1", or the application's name alone when no window is active.
std::string MainWindowTitle(const std::string& appName, const std::string& activeFrameTitle);

} // namespace fw
