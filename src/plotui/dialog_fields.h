#pragma once
// Field exchange on Qt widgets. A dialog reads its number fields in order when
// OK is pressed; the first field that is refused shows its message, takes the
// focus with its text selected, and the dialog stays open.

#include "fw/field_exchange.h"
#include "fw/ui.h"

#include <cstdint>
#include <optional>
#include <QDialog>
#include <string>

class QDialogButtonBox;
class QLineEdit;

namespace tarvo {

// The icon of every refused field.
inline constexpr fw::Icon kFieldIcon = fw::Icon::Error;

// The edit's text, for the Qt-free field readers.
std::string FieldText(const QLineEdit& edit);
// The field's value; when it was refused, its message is shown and the edit is
// focused with its text selected.
template <class T>
std::optional<T> TakeField(QLineEdit& edit, const fw::FieldValue<T>& field, fw::Ui& ui);

std::optional<double> ReadDouble(QLineEdit& edit, fw::Ui& ui);
std::optional<double> ReadDouble(QLineEdit& edit, double lo, double hi, fw::Ui& ui);
std::optional<std::int64_t> ReadInteger(QLineEdit& edit, std::int64_t lo, std::int64_t hi,
                                        fw::Ui& ui);
// Shows message for edit, then focuses it with all its text selected.
void RefuseField(QLineEdit& edit, const std::string& message, fw::Ui& ui);

void ShowDouble(QLineEdit& edit, double value);
void ShowInteger(QLineEdit& edit, std::int64_t value);

template <class T>
std::optional<T> TakeField(QLineEdit& edit, const fw::FieldValue<T>& field, fw::Ui& ui) {
    if (!field.Ok()) RefuseField(edit, field.message, ui);
    return field.value;
}

// A dialog whose OK reads its fields first and closes only when all were taken.
// Escape, Cancel and the window's close button end it with Rejected.
class FieldDialog : public QDialog {
    Q_OBJECT

public:
    void accept() override;

protected:
    FieldDialog(fw::Ui& ui, QWidget* parent);

    // Reads the fields in order into the dialog's values; false at the first one
    // refused (its message already shown).
    virtual bool ReadFields() = 0;

    // OK (the default button, object name "ok") and Cancel ("cancel").
    QDialogButtonBox* MakeButtons();

    fw::Ui& GetUi() const { return m_ui; }

private:
    fw::Ui& m_ui;
};

} // namespace tarvo
