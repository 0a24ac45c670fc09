#pragma once
// The file dialogs the program asks for names with. Tests put fakes in their
// place, since a real file dialog cannot be answered offscreen.

#include <optional>
#include <string>

class QWidget;

namespace tarvo {

class FileChooser {
public:
    FileChooser() = default;
    FileChooser(const FileChooser&) = delete;
    FileChooser& operator=(const FileChooser&) = delete;
    virtual ~FileChooser() = default;

    // filter: "Description (*.ext)"; the chooser adds "All Files (*)". Nothing on cancel.
    virtual std::optional<std::string> OpenPath(QWidget* parent, const std::string& filter,
                                                const std::string& folder) = 0;
    // Asks before overwriting an existing file.
    virtual std::optional<std::string> SavePath(QWidget* parent, const std::string& suggested,
                                                const std::string& filter) = 0;
};

// The desktop's file dialogs.
class DialogFileChooser : public FileChooser {
public:
    std::optional<std::string> OpenPath(QWidget* parent, const std::string& filter,
                                        const std::string& folder) override;
    std::optional<std::string> SavePath(QWidget* parent, const std::string& suggested,
                                        const std::string& filter) override;
};

} // namespace tarvo
