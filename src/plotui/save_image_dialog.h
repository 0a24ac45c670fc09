#pragma once
// The Save Image dialog: the file (typed, or chosen with Browse...), its
// format, and the picture's size, the plot window's or typed in pixels. OK
// closes only on a file name and a size that can be written, after asking
// before an existing file is replaced.

#include "plot/image_export.h"
#include "plotui/dialog_fields.h"

#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarvo {

class SaveImageDialog : public FieldDialog {
    Q_OBJECT

public:
    // The file chosen in a file dialog with the filter it had selected.
    struct PathChoice {
        std::string path;
        std::string filter;
    };
    // Asks for the file behind Browse...; filters as ImageFilters gives them.
    // By default the desktop's save dialog, which asks before replacing a file.
    using PathChooser = std::function<std::optional<PathChoice>(
        QWidget* parent, const std::string& suggested, const std::string& filters)>;
    static void SetPathChooser(PathChooser chooser);

    SaveImageDialog(fw::Ui& ui, const ImageRequest& initial, ImageSize windowSize, QWidget* parent);

    const ImageRequest& Request() const { return request_; }

protected:
    bool ReadFields() override;

private:
    ImageFormat ChosenFormat() const;
    void ShowFormat(ImageFormat format);
    void Browse();
    void OnFormatChosen();
    void UpdateEnabled();

    ImageRequest request_;
    ImageSize window_;
    // The last file the file dialog confirmed; OK does not ask about it again.
    std::string confirmedPath_;
    QLineEdit* fileName_;
    QPushButton* browse_;
    QComboBox* format_;
    QRadioButton* windowSize_;
    QRadioButton* customSize_;
    QLineEdit* width_;
    QLineEdit* height_;
};

// Runs the dialog; the request, or nothing on Cancel.
std::optional<ImageRequest> RunSaveImageDialog(fw::Ui& ui, QWidget* parent,
                                               const ImageRequest& initial, ImageSize windowSize);

} // namespace tarvo
