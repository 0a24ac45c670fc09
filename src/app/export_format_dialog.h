#pragma once
// "Coefficients View Format" and "Export File Format": one window over a copy of
// a coefficient-file format; the export form adds the file name, Browse and
// "Set file name's extension". What is checked, offered and enabled comes from
// the headless format-dialog rules.

#include "export/export_files.h"
#include "export/format_dialog_rules.h"
#include "export/iir_export_file_format.h"
#include "plotui/dialog_fields.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tarvo {

class FileChooser;

class CIirFormatDialog : public FieldDialog {
    Q_OBJECT

public:
    // "Coefficients View Format" on a copy of format.
    CIirFormatDialog(const CIirFileFormat& format, fw::Ui& ui, QWidget* parent = nullptr);
    // "Export File Format" on a copy of entry; Browse asks chooser.
    CIirFormatDialog(const CIirExportFileFormat& entry, fw::Ui& ui, FileChooser& chooser,
                     QWidget* parent = nullptr);

    bool IsExportDialog() const { return m_chooser != nullptr; }
    // The edited copy; after OK the accepted values (with the export path built
    // from the folder and the file name).
    const CIirExportFileFormat& Values() const { return m_values; }

protected:
    bool ReadFields() override;

private:
    CIirFormatDialog(fw::Ui& ui, FileChooser* chooser, std::string documentsFolder,
                     QWidget* parent);
    void Build();
    void ShowValues();
    void UpdateControls();
    void OnFormatChosen(int format);
    void OnBrowse();
    void OnOptions();
    // The export dialog's file-name edit and check box into the copy.
    void TakeFileName();
    QWidget* FieldWidget(FormatField field) const;

    FileChooser* m_chooser;
    CIirExportFileFormat m_values;

    QComboBox* m_format = nullptr;
    QLineEdit* m_filterName = nullptr;
    QPushButton* m_options = nullptr;
    QLineEdit* m_fileName = nullptr;
    QCheckBox* m_setExtension = nullptr;
    QButtonGroup* m_numeric = nullptr;
    QLineEdit* m_hexIntBits = nullptr;
    QLineEdit* m_hexFracBits = nullptr;
    QButtonGroup* m_indent = nullptr;
    QLineEdit* m_indentSpaces = nullptr;
    QComboBox* m_biquadOrder = nullptr;
    QCheckBox* m_headings = nullptr;
    QCheckBox* m_specs = nullptr;
    QCheckBox* m_zerosPoles = nullptr;
    QCheckBox* m_biquads = nullptr;
    QCheckBox* m_directForm = nullptr;
    QCheckBox* m_impulse = nullptr;
    QLineEdit* m_impulseLength = nullptr;
    QCheckBox* m_step = nullptr;
    QLineEdit* m_stepLength = nullptr;
    QButtonGroup* m_responsesVia = nullptr;
    QCheckBox* m_negateA = nullptr;
};

// The coefficient view's Format command: true on OK with format updated; Cancel
// leaves it untouched.
bool RunViewFormatDialog(CIirFileFormat& format, fw::Ui& ui, QWidget* parent);
// One export-list entry: true on OK with entry updated.
bool RunExportFormatDialog(CIirExportFileFormat& entry, fw::Ui& ui, FileChooser& chooser,
                           QWidget* parent);

// What the export list's Add... and Modify... run: the "Export File Format"
// window over the given parent.
class DialogExportFormatEditor : public CExportFormatEditor {
public:
    DialogExportFormatEditor(fw::Ui& ui, FileChooser& chooser, QWidget* parent)
        : m_ui(ui), m_chooser(chooser), m_parent(parent) {}

    bool Edit(CIirExportFileFormat& entry) override;

private:
    fw::Ui& m_ui;
    FileChooser& m_chooser;
    QWidget* m_parent;
};

} // namespace tarvo
