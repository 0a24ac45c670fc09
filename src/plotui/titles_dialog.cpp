#include "plotui/titles_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvo {
namespace {

QLineEdit* AddTitleGroup(QVBoxLayout* layout, const char* group, const char* name,
                         const std::string& text) {
    auto* box = new QGroupBox(group);
    auto* edit = new QLineEdit(QString::fromStdString(text));
    edit->setObjectName(name);
    auto* inner = new QVBoxLayout(box);
    inner->addWidget(edit);
    layout->addWidget(box);
    return edit;
}

} // namespace

TitlesDialog::TitlesDialog(const PlotTitles& titles, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Titles");
    auto* layout = new QVBoxLayout(this);
    main_ = AddTitleGroup(layout, "Main Title", "mainTitle", titles.main);
    x_ = AddTitleGroup(layout, "X-Title", "xTitle", titles.x);
    y_ = AddTitleGroup(layout, "Y-Title", "yTitle", titles.y);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(420, sizeHint().height());
}

PlotTitles TitlesDialog::Titles() const {
    return {main_->text().toStdString(), x_->text().toStdString(), y_->text().toStdString()};
}

} // namespace tarvo
