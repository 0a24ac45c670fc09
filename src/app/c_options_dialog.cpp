#include "app/c_options_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tarvo {

namespace {

QPlainTextEdit* MakeTextEdit(const char* name, const std::string& text) {
    auto* edit = new QPlainTextEdit(QString::fromStdString(text));
    edit->setObjectName(name);
    // Code is typed here: a fixed-pitch font, no wrapping, Tab moves on.
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus(true);
    edit->setMinimumSize(420, 90);
    return edit;
}

} // namespace

CCOptionsDialog::CCOptionsDialog(const CIirC_Options& options, fw::Ui& ui, QWidget* parent)
    : FieldDialog(ui, parent), m_options(options),
      m_realType(new QLineEdit(QString::fromStdString(options.m_strRealType))),
      m_complexType(new QLineEdit(QString::fromStdString(options.m_strComplexType))),
      m_headerText(MakeTextEdit("headerText", options.m_strHeaderText)),
      m_sourceText(MakeTextEdit("sourceText", options.m_strSourceText)) {
    setWindowTitle("C/C++ Options");
    m_realType->setObjectName("realType");
    m_complexType->setObjectName("complexType");

    auto* types = new QGridLayout;
    types->addWidget(new QLabel("Real Data Type"), 0, 0);
    types->addWidget(m_realType, 0, 1);
    types->addWidget(new QLabel("Complex Data Type"), 1, 0);
    types->addWidget(m_complexType, 1, 1);
    types->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(types);
    layout->addWidget(new QLabel("Additional text to include in header file"));
    layout->addWidget(m_headerText);
    layout->addWidget(new QLabel("Additional text to include in C/C++ file"));
    layout->addWidget(m_sourceText);
    layout->addWidget(MakeButtons());
    m_realType->setFocus();
    m_realType->selectAll();
}

bool CCOptionsDialog::ReadFields() {
    m_options.m_strRealType = m_realType->text().toStdString();
    m_options.m_strComplexType = m_complexType->text().toStdString();
    m_options.m_strHeaderText = m_headerText->toPlainText().toStdString();
    m_options.m_strSourceText = m_sourceText->toPlainText().toStdString();
    return true;
}

bool RunCOptionsDialog(CIirC_Options& options, fw::Ui& ui, QWidget* parent) {
    CCOptionsDialog dialog(options, ui, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    options = dialog.GetOptions();
    return true;
}

} // namespace tarvo
