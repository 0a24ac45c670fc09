#include "plotui/dialog_fields.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

namespace tarvo {

std::string FieldText(const QLineEdit& edit) {
    return edit.text().toStdString();
}

std::optional<double> ReadDouble(QLineEdit& edit, fw::Ui& ui) {
    return TakeField(edit, fw::ReadDoubleField(FieldText(edit)), ui);
}

std::optional<double> ReadDouble(QLineEdit& edit, double lo, double hi, fw::Ui& ui) {
    return TakeField(edit, fw::ReadDoubleField(FieldText(edit), lo, hi), ui);
}

std::optional<std::int64_t> ReadInteger(QLineEdit& edit, std::int64_t lo, std::int64_t hi,
                                        fw::Ui& ui) {
    return TakeField(edit, fw::ReadIntegerField(FieldText(edit), lo, hi), ui);
}

void RefuseField(QLineEdit& edit, const std::string& message, fw::Ui& ui) {
    ui.Message(message, kFieldIcon);
    // After the message box, so that its closing does not move the focus back.
    edit.setFocus(Qt::OtherFocusReason);
    edit.selectAll();
}

void ShowDouble(QLineEdit& edit, double value) {
    edit.setText(QString::fromStdString(fw::FormatShortest(value)));
}

void ShowInteger(QLineEdit& edit, std::int64_t value) {
    edit.setText(QString::number(value));
}

FieldDialog::FieldDialog(fw::Ui& ui, QWidget* parent) : QDialog(parent), m_ui(ui) {}

void FieldDialog::accept() {
    if (ReadFields()) QDialog::accept();
}

QDialogButtonBox* FieldDialog::MakeButtons() {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("buttons");
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName("ok");
    ok->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &FieldDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FieldDialog::reject);
    return buttons;
}

} // namespace tarvo
