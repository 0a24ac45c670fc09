#include "plotui/save_image_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvo {
namespace {

std::optional<SaveImageDialog::PathChoice>
AskForImagePath(QWidget* parent, const std::string& suggested, const std::string& filters) {
    QString selected;
    const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save Image As"),
                                                      QString::fromStdString(suggested),
                                                      QString::fromStdString(filters), &selected);
    if (path.isEmpty()) return std::nullopt;
    return SaveImageDialog::PathChoice{path.toStdString(), selected.toStdString()};
}

SaveImageDialog::PathChooser& PathChooserHook() {
    static SaveImageDialog::PathChooser hook = AskForImagePath;
    return hook;
}

QLineEdit* MakeEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

} // namespace

void SaveImageDialog::SetPathChooser(PathChooser chooser) {
    PathChooserHook() = chooser ? std::move(chooser) : PathChooser(AskForImagePath);
}

SaveImageDialog::SaveImageDialog(fw::Ui& ui, const ImageRequest& initial, ImageSize windowSize,
                                 QWidget* parent)
    : FieldDialog(ui, parent), request_(initial), window_(windowSize),
      fileName_(MakeEdit("fileName")), browse_(new QPushButton(QStringLiteral("&Browse..."))),
      format_(new QComboBox),
      windowSize_(new QRadioButton(QStringLiteral("&Window size (%1 x %2 pixels)")
                                       .arg(windowSize.width)
                                       .arg(windowSize.height))),
      customSize_(new QRadioButton(QStringLiteral("&Custom size"))), width_(MakeEdit("width")),
      height_(MakeEdit("height")) {
    setWindowTitle(QStringLiteral("Save Image"));
    browse_->setObjectName("browse");
    browse_->setAutoDefault(false);
    format_->setObjectName("format");
    windowSize_->setObjectName("windowSize");
    customSize_->setObjectName("customSize");
    for (const ImageFormatInfo& info : ImageFormats())
        format_->addItem(
            QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size())));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName_, 1);
    fileRow->addWidget(browse_);
    auto* form = new QFormLayout;
    // A row of a layout takes no buddy: the label needs the edit for its mnemonic.
    auto* fileLabel = new QLabel(QStringLiteral("&File name:"));
    fileLabel->setBuddy(fileName_);
    form->addRow(fileLabel, fileRow);
    form->addRow(QStringLiteral("F&ormat:"), format_);

    auto* size = new QGroupBox(QStringLiteral("Size"));
    auto* sizeGrid = new QGridLayout(size);
    sizeGrid->addWidget(windowSize_, 0, 0, 1, 3);
    sizeGrid->addWidget(customSize_, 1, 0, 1, 3);
    auto* widthLabel = new QLabel(QStringLiteral("W&idth:"));
    widthLabel->setBuddy(width_);
    auto* heightLabel = new QLabel(QStringLiteral("&Height:"));
    heightLabel->setBuddy(height_);
    sizeGrid->addWidget(widthLabel, 2, 0);
    sizeGrid->addWidget(width_, 2, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("pixels")), 2, 2);
    sizeGrid->addWidget(heightLabel, 3, 0);
    sizeGrid->addWidget(height_, 3, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("pixels")), 3, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(size);
    layout->addWidget(MakeButtons());

    fileName_->setText(QString::fromStdString(initial.path));
    ShowFormat(initial.format);
    (initial.windowSize ? windowSize_ : customSize_)->setChecked(true);
    ShowInteger(*width_, initial.size.width);
    ShowInteger(*height_, initial.size.height);
    UpdateEnabled();

    connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });
    connect(format_, &QComboBox::activated, this, [this] { OnFormatChosen(); });
    connect(windowSize_, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
    resize(480, sizeHint().height());
}

ImageFormat SaveImageDialog::ChosenFormat() const {
    const auto formats = ImageFormats();
    const auto index = static_cast<std::size_t>(format_->currentIndex());
    return index < formats.size() ? formats[index].format : ImageFormat::kPng;
}

void SaveImageDialog::ShowFormat(ImageFormat format) {
    const auto formats = ImageFormats();
    for (std::size_t i = 0; i < formats.size(); ++i)
        if (formats[i].format == format) format_->setCurrentIndex(static_cast<int>(i));
}

void SaveImageDialog::UpdateEnabled() {
    const bool custom = customSize_->isChecked();
    width_->setEnabled(custom);
    height_->setEnabled(custom);
}

void SaveImageDialog::OnFormatChosen() {
    // A name that already says its format follows the new choice; a bare name
    // gets its extension on OK.
    const std::string name = FieldText(*fileName_);
    if (FormatFromPath(name)) {
        fileName_->setText(QString::fromStdString(WithImageExtension(name, ChosenFormat())));
    }
}

void SaveImageDialog::Browse() {
    const ImageFormat current = ChosenFormat();
    const std::string entered = FieldText(*fileName_);
    const ImageTarget suggested = ResolveImageTarget(entered, current);
    const std::optional<PathChoice> choice = PathChooserHook()(
        this, suggested.error.empty() ? suggested.path : entered, ImageFilters(current));
    if (!choice) return;
    const ImageFormat filtered = FormatFromFilter(choice->filter).value_or(current);
    const ImageTarget target = ResolveImageTarget(choice->path, filtered);
    if (!target.error.empty()) return;
    fileName_->setText(QString::fromStdString(target.path));
    ShowFormat(target.format);
    // With an extension appended it is another file, which nobody confirmed yet.
    confirmedPath_ = target.path == choice->path ? target.path : std::string();
}

bool SaveImageDialog::ReadFields() {
    fw::Ui& ui = GetUi();
    const ImageTarget target = ResolveImageTarget(FieldText(*fileName_), ChosenFormat());
    if (!target.error.empty()) {
        RefuseField(*fileName_, target.error, ui);
        return false;
    }
    const bool custom = customSize_->isChecked();
    // The typed size is kept for the next time even while the window's is used.
    ImageSize typed = request_.size;
    if (custom) {
        const std::optional<int> width =
            TakeField(*width_, ReadImageSide(FieldText(*width_), "width"), ui);
        if (!width) return false;
        const std::optional<int> height =
            TakeField(*height_, ReadImageSide(FieldText(*height_), "height"), ui);
        if (!height) return false;
        typed = {*width, *height};
    }
    if (const std::string problem = CheckImageSize(custom ? typed : window_, target.format);
        !problem.empty()) {
        RefuseField(custom ? *width_ : *fileName_, problem, ui);
        return false;
    }
    const QFileInfo file(QString::fromStdString(target.path));
    if (!file.absoluteDir().exists()) {
        RefuseField(*fileName_, MissingImageFolderMessage(file.absolutePath().toStdString()), ui);
        return false;
    }
    // A folder of that name is not replaced; the write reports it.
    if (file.exists() && !file.isDir() && target.path != confirmedPath_ &&
        ui.Ask(ReplaceImageQuestion(target.path)) != fw::Answer::Yes) {
        fileName_->setFocus(Qt::OtherFocusReason);
        return false;
    }
    request_.path = target.path;
    request_.format = target.format;
    request_.windowSize = !custom;
    request_.size = typed;
    return true;
}

std::optional<ImageRequest> RunSaveImageDialog(fw::Ui& ui, QWidget* parent,
                                               const ImageRequest& initial, ImageSize windowSize) {
    SaveImageDialog dialog(ui, initial, windowSize, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Request();
}

} // namespace tarvo
