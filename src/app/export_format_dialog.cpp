#include "app/export_format_dialog.h"

#include "app/c_options_dialog.h"
#include "app/file_chooser.h"
#include "export/export_formats.h"
#include "export/format_dialog_rules.h"

#include <limits>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
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

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A short number field, wide enough for digits characters.
QLineEdit* MakeNumberEdit(const char* name, int digits) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(digits, '0')) + 12);
    return edit;
}

QCheckBox* MakeCheck(const char* name, const char* label) {
    auto* box = new QCheckBox(label);
    box->setObjectName(name);
    return box;
}

QRadioButton* AddRadio(QButtonGroup& group, int id, const char* name, const char* label) {
    auto* radio = new QRadioButton(label);
    radio->setObjectName(name);
    group.addButton(radio, id);
    return radio;
}

void Check(QCheckBox& box, std::int32_t flag) {
    box.setChecked(flag != 0);
}

std::int32_t Flag(const QCheckBox& box) {
    return box.isChecked() ? 1 : 0;
}

// The group's choice; a stored value outside the choices stays as it was.
void TakeChoice(const QButtonGroup& group, std::int32_t& value) {
    if (group.checkedId() >= 0) value = group.checkedId();
}

void TakeChoice(const QComboBox& combo, std::int32_t& value) {
    if (combo.currentIndex() >= 0) value = combo.currentIndex();
}

void SetChoice(QButtonGroup& group, std::int32_t id) {
    QAbstractButton* button = group.button(id);
    if (button != nullptr) button->setChecked(true);
}

} // namespace

CIirFormatDialog::CIirFormatDialog(fw::Ui& ui, FileChooser* chooser, std::string documentsFolder,
                                   QWidget* parent)
    : FieldDialog(ui, parent), m_chooser(chooser), m_values(std::move(documentsFolder)) {}

CIirFormatDialog::CIirFormatDialog(const CIirFileFormat& format, fw::Ui& ui, QWidget* parent)
    : CIirFormatDialog(ui, nullptr, std::string(), parent) {
    m_values.CopyFrom(format);
    Build();
}

CIirFormatDialog::CIirFormatDialog(const CIirExportFileFormat& entry, fw::Ui& ui,
                                   FileChooser& chooser, QWidget* parent)
    : CIirFormatDialog(ui, &chooser, entry.DocumentsFolder(), parent) {
    m_values.CopyFrom(entry);
    Build();
}

void CIirFormatDialog::Build() {
    const bool exportDialog = IsExportDialog();
    setWindowTitle(exportDialog ? "Export File Format" : "Coefficients View Format");

    m_format = new QComboBox;
    m_format->setObjectName("format");
    for (std::int32_t f = 0; f < kFormatCount; ++f)
        m_format->addItem(Text(FormatName(f)));
    m_filterName = new QLineEdit;
    m_filterName->setObjectName("filterName");
    m_options = new QPushButton("Options...");
    m_options->setObjectName("options");
    m_options->setAutoDefault(false);

    auto* top = new QGridLayout;
    top->addWidget(new QLabel("File Format:"), 0, 0);
    top->addWidget(m_format, 0, 1);
    top->addWidget(new QLabel("Filter Name:"), 0, 2);
    top->addWidget(m_filterName, 0, 3);
    top->addWidget(m_options, 0, 4);
    top->setColumnStretch(3, 1);
    if (exportDialog) {
        m_fileName = new QLineEdit;
        m_fileName->setObjectName("fileName");
        auto* browse = new QPushButton("Browse...");
        browse->setObjectName("browse");
        browse->setAutoDefault(false);
        connect(browse, &QPushButton::clicked, this, &CIirFormatDialog::OnBrowse);
        m_setExtension = MakeCheck("setExtension", "Set file name's extension");
        top->addWidget(new QLabel("File Name:"), 1, 0);
        top->addWidget(m_fileName, 1, 1, 1, 3);
        top->addWidget(browse, 1, 4);
        top->addWidget(m_setExtension, 2, 1, 1, 3);
    }

    m_numeric = new QButtonGroup(this);
    m_hexIntBits = MakeNumberEdit("hexIntBits", 4);
    m_hexFracBits = MakeNumberEdit("hexFracBits", 4);
    auto* numbers = new QGroupBox("Number Format");
    auto* numbersLayout = new QGridLayout(numbers);
    numbersLayout->addWidget(
        AddRadio(*m_numeric, kNumericScientific, "numericScientific", "Scientific"), 0, 0, 1, 4);
    numbersLayout->addWidget(
        AddRadio(*m_numeric, kNumericFloating, "numericFloating", "Floating point"), 1, 0, 1, 4);
    numbersLayout->addWidget(AddRadio(*m_numeric, kNumericHex, "numericHex", "Hex :"), 2, 0);
    numbersLayout->addWidget(m_hexIntBits, 2, 1);
    numbersLayout->addWidget(new QLabel("."), 2, 2);
    numbersLayout->addWidget(m_hexFracBits, 2, 3);
    numbersLayout->setColumnStretch(4, 1);

    m_indent = new QButtonGroup(this);
    m_indentSpaces = MakeNumberEdit("indentSpaceCount", 3);
    auto* indent = new QGroupBox("Indentation");
    auto* indentLayout = new QGridLayout(indent);
    indentLayout->addWidget(AddRadio(*m_indent, kIndentSpaces, "indentSpaces", "Spaces:"), 0, 0);
    indentLayout->addWidget(m_indentSpaces, 0, 1);
    indentLayout->addWidget(AddRadio(*m_indent, kIndentTabs, "indentTabs", "Tabs"), 1, 0, 1, 2);
    indentLayout->addWidget(AddRadio(*m_indent, kIndentNone, "indentNone", "None"), 2, 0, 1, 2);
    indentLayout->setColumnStretch(2, 1);

    m_responsesVia = new QButtonGroup(this);
    auto* via = new QGroupBox("Calculate responses via:");
    auto* viaLayout = new QHBoxLayout(via);
    viaLayout->addWidget(
        AddRadio(*m_responsesVia, kResponsesViaBiquads, "responsesViaBiquads", "Biquads"));
    viaLayout->addWidget(AddRadio(*m_responsesVia, kResponsesViaDirectForm,
                                  "responsesViaDirectForm", "Direct form"));
    viaLayout->addStretch(1);

    m_biquadOrder = new QComboBox;
    m_biquadOrder->setObjectName("biquadOrder");
    for (std::int32_t order = 0; order < BiquadOrdersOffered(exportDialog); ++order)
        m_biquadOrder->addItem(Text(BiquadOrderText(order)));
    m_headings = MakeCheck("headings", "Headings");
    m_specs = MakeCheck("specifications", "Specifications");
    m_zerosPoles = MakeCheck("zerosPoles", "Zeros/Poles");
    m_biquads = MakeCheck("biquads", "Biquads");
    m_directForm = MakeCheck("directForm", "Direct form (B/A)");
    m_impulse = MakeCheck("impulse", "Impulse response, length =");
    m_impulseLength = MakeNumberEdit("impulseLength", 8);
    m_step = MakeCheck("step", "Step response, length =");
    m_stepLength = MakeNumberEdit("stepLength", 8);
    m_negateA = MakeCheck("negateA", "Negate a1/a2 coefficients");
    auto* output = new QGroupBox("Output");
    auto* outputLayout = new QGridLayout(output);
    outputLayout->addWidget(m_headings, 0, 0, 1, 2);
    outputLayout->addWidget(m_specs, 1, 0, 1, 2);
    outputLayout->addWidget(m_zerosPoles, 2, 0, 1, 2);
    outputLayout->addWidget(m_biquads, 3, 0);
    outputLayout->addWidget(m_biquadOrder, 3, 1);
    outputLayout->addWidget(m_directForm, 4, 0, 1, 2);
    outputLayout->addWidget(m_impulse, 5, 0);
    outputLayout->addWidget(m_impulseLength, 5, 1, Qt::AlignLeft);
    outputLayout->addWidget(m_step, 6, 0);
    outputLayout->addWidget(m_stepLength, 6, 1, Qt::AlignLeft);
    outputLayout->addWidget(m_negateA, 7, 0, 1, 2);
    outputLayout->setRowStretch(8, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(numbers);
    left->addWidget(indent);
    left->addWidget(via);
    left->addStretch(1);
    auto* groups = new QHBoxLayout;
    groups->addLayout(left);
    groups->addWidget(output, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addWidget(MakeButtons());

    // User signals only: refilling the controls must not run these.
    connect(m_format, &QComboBox::activated, this, &CIirFormatDialog::OnFormatChosen);
    connect(m_options, &QPushButton::clicked, this, &CIirFormatDialog::OnOptions);
    connect(m_biquads, &QCheckBox::clicked, this, &CIirFormatDialog::UpdateControls);

    ShowValues();
    UpdateControls();
    QWidget* first = exportDialog ? static_cast<QWidget*>(m_fileName) : m_format;
    first->setFocus();
}

void CIirFormatDialog::ShowValues() {
    const CIirExportFileFormat& v = m_values;
    m_format->setCurrentIndex(IsValidFormat(v.m_nFormat) ? v.m_nFormat : -1);
    m_filterName->setText(QString::fromStdString(v.m_strFilterName));
    if (m_fileName != nullptr) {
        m_fileName->setText(QString::fromStdString(v.m_strFileName));
        Check(*m_setExtension, v.m_bSetExtension);
    }
    SetChoice(*m_numeric, v.m_nNumeric);
    ShowInteger(*m_hexIntBits, v.m_nHexIntBits);
    ShowInteger(*m_hexFracBits, v.m_nHexFracBits);
    SetChoice(*m_indent, v.m_nIndentKind);
    ShowInteger(*m_indentSpaces, v.m_nIndentSpaces);
    m_biquadOrder->setCurrentIndex(v.m_nBiquadOrder < m_biquadOrder->count() ? v.m_nBiquadOrder
                                                                             : -1);
    Check(*m_headings, v.m_bHeadings);
    Check(*m_specs, v.m_bSpecs);
    Check(*m_zerosPoles, v.m_bZerosPoles);
    Check(*m_biquads, v.m_bBiquads);
    Check(*m_directForm, v.m_bDirectForm);
    Check(*m_impulse, v.m_bImpulse);
    ShowInteger(*m_impulseLength, v.m_nImpulseLen);
    Check(*m_step, v.m_bStep);
    ShowInteger(*m_stepLength, v.m_nStepLen);
    SetChoice(*m_responsesVia, v.m_nResponsesVia);
    Check(*m_negateA, v.m_bNegateA);
}

void CIirFormatDialog::UpdateControls() {
    m_values.m_bBiquads = Flag(*m_biquads);
    m_options->setEnabled(OptionsButtonEnabled(m_format->currentIndex()));
    m_biquadOrder->setEnabled(BiquadOrderEnabled(m_values));
}

void CIirFormatDialog::TakeFileName() {
    if (m_fileName == nullptr) return;
    m_values.m_strFileName = m_fileName->text().toStdString();
    m_values.m_bSetExtension = Flag(*m_setExtension);
}

void CIirFormatDialog::OnFormatChosen(int format) {
    if (m_fileName != nullptr) {
        TakeFileName();
        ChangeFileFormat(m_values, format);
        m_fileName->setText(QString::fromStdString(m_values.m_strFileName));
    } else {
        m_values.m_nFormat = format;
    }
    UpdateControls();
}

void CIirFormatDialog::OnBrowse() {
    if (m_chooser == nullptr) return;
    // Suggest the file as it stands now: the folder with the typed name.
    TakeFileName();
    ApplyFileNameToPath(m_values);
    const std::optional<std::string> path =
        m_chooser->SavePath(this, m_values.m_strPath, ChooserFileFilter(BrowseFileFilter()));
    if (!path) return;
    ApplyBrowsedPath(m_values, *path);
    m_fileName->setText(QString::fromStdString(m_values.m_strFileName));
}

void CIirFormatDialog::OnOptions() {
    RunCOptionsDialog(m_values.m_cOptions, GetUi(), this);
}

QWidget* CIirFormatDialog::FieldWidget(FormatField field) const {
    switch (field) {
    case FormatField::HexIntBits:
        return m_hexIntBits;
    case FormatField::HexFracBits:
        return m_hexFracBits;
    case FormatField::IndentSpaces:
        return m_indentSpaces;
    case FormatField::FileName:
        return m_fileName;
    case FormatField::Outputs:
        return m_specs;
    case FormatField::ImpulseLength:
        return m_impulseLength;
    case FormatField::StepLength:
        return m_stepLength;
    }
    return nullptr;
}

bool CIirFormatDialog::ReadFields() {
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    // The copy is the dialog's own: a refusal leaves the caller's values alone.
    CIirExportFileFormat& v = m_values;
    // The number fields in the order of the window; their ranges are the checks
    // below, so only a number is asked for here.
    const struct {
        QLineEdit* edit;
        std::int32_t& value;
    } numbers[] = {
        {m_hexIntBits, v.m_nHexIntBits},     {m_hexFracBits, v.m_nHexFracBits},
        {m_indentSpaces, v.m_nIndentSpaces}, {m_impulseLength, v.m_nImpulseLen},
        {m_stepLength, v.m_nStepLen},
    };
    for (const auto& number : numbers) {
        const std::optional<std::int64_t> value = ReadInteger(*number.edit, kMin, kMax, GetUi());
        if (!value) return false;
        number.value = static_cast<std::int32_t>(*value);
    }
    TakeChoice(*m_format, v.m_nFormat);
    v.m_strFilterName = m_filterName->text().toStdString();
    TakeFileName();
    TakeChoice(*m_numeric, v.m_nNumeric);
    TakeChoice(*m_indent, v.m_nIndentKind);
    TakeChoice(*m_biquadOrder, v.m_nBiquadOrder);
    v.m_bHeadings = Flag(*m_headings);
    v.m_bSpecs = Flag(*m_specs);
    v.m_bZerosPoles = Flag(*m_zerosPoles);
    v.m_bBiquads = Flag(*m_biquads);
    v.m_bDirectForm = Flag(*m_directForm);
    v.m_bImpulse = Flag(*m_impulse);
    v.m_bStep = Flag(*m_step);
    TakeChoice(*m_responsesVia, v.m_nResponsesVia);
    v.m_bNegateA = Flag(*m_negateA);

    if (const std::optional<FormatRefusal> refused = CheckFormatFields(v, IsExportDialog())) {
        QWidget* widget = FieldWidget(refused->field);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            RefuseField(*edit, refused->message, GetUi());
        } else {
            GetUi().Message(refused->message, kFieldIcon);
            if (widget != nullptr) widget->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }
    if (IsExportDialog()) ApplyFileNameToPath(v);
    return true;
}

bool RunViewFormatDialog(CIirFileFormat& format, fw::Ui& ui, QWidget* parent) {
    CIirFormatDialog dialog(format, ui, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    // The base record only: the view's format is no export entry.
    format.CIirFileFormat::CopyFrom(dialog.Values());
    return true;
}

bool RunExportFormatDialog(CIirExportFileFormat& entry, fw::Ui& ui, FileChooser& chooser,
                           QWidget* parent) {
    CIirFormatDialog dialog(entry, ui, chooser, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    entry.CopyFrom(dialog.Values());
    return true;
}

bool DialogExportFormatEditor::Edit(CIirExportFileFormat& entry) {
    return RunExportFormatDialog(entry, m_ui, m_chooser, m_parent);
}

} // namespace tarvo
