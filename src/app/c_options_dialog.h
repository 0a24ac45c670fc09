#pragma once
// "C/C++ Options": the type names of real and complex variables and the texts
// written at the top of the header and of the source file, edited on a copy.

#include "export/iir_c_options.h"
#include "plotui/dialog_fields.h"

class QLineEdit;
class QPlainTextEdit;

namespace tarvo {

class CCOptionsDialog : public FieldDialog {
    Q_OBJECT

public:
    CCOptionsDialog(const CIirC_Options& options, fw::Ui& ui, QWidget* parent = nullptr);

    // The caller's options until OK takes the four texts.
    const CIirC_Options& GetOptions() const { return m_options; }

protected:
    bool ReadFields() override;

private:
    CIirC_Options m_options;
    QLineEdit* m_realType;
    QLineEdit* m_complexType;
    QPlainTextEdit* m_headerText;
    QPlainTextEdit* m_sourceText;
};

// Runs the dialog modally on a copy of options; true on OK with options updated.
bool RunCOptionsDialog(CIirC_Options& options, fw::Ui& ui, QWidget* parent);

} // namespace tarvo
