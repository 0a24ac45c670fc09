#include "views/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvo {

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
    setModal(false);
    auto* whatLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    what_ = new QLineEdit(this);
    what_->setObjectName("findWhat");
    whatLabel->setBuddy(what_);
    withLabel_ = new QLabel(QStringLiteral("Re&place with:"), this);
    with_ = new QLineEdit(this);
    with_->setObjectName("replaceWith");
    withLabel_->setBuddy(with_);
    matchCase_ = new QCheckBox(QStringLiteral("Match &case"), this);
    matchCase_->setObjectName("matchCase");
    wholeWord_ = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    wholeWord_->setObjectName("wholeWord");

    findNext_ = new QPushButton(QStringLiteral("&Find Next"), this);
    findNext_->setObjectName("findNext");
    findNext_->setDefault(true);
    replace_ = new QPushButton(QStringLiteral("&Replace"), this);
    replace_->setObjectName("replace");
    replaceAll_ = new QPushButton(QStringLiteral("Replace &All"), this);
    replaceAll_->setObjectName("replaceAll");
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName("close");

    auto* fields = new QGridLayout;
    fields->addWidget(whatLabel, 0, 0);
    fields->addWidget(what_, 0, 1);
    fields->addWidget(withLabel_, 1, 0);
    fields->addWidget(with_, 1, 1);
    fields->addWidget(matchCase_, 2, 0, 1, 2);
    fields->addWidget(wholeWord_, 3, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNext_);
    buttons->addWidget(replace_);
    buttons->addWidget(replaceAll_);
    buttons->addWidget(close);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    connect(findNext_, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(replace_, &QPushButton::clicked, this, &FindDialog::replaceOne);
    connect(replaceAll_, &QPushButton::clicked, this, &FindDialog::replaceAll);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    // Nothing to search for: nothing to press.
    const auto updateButtons = [this] {
        const bool any = !what_->text().isEmpty();
        findNext_->setEnabled(any);
        replace_->setEnabled(any);
        replaceAll_->setEnabled(any);
    };
    connect(what_, &QLineEdit::textChanged, this, updateButtons);
    updateButtons();
}

void FindDialog::Open(bool replace, const QString& what) {
    setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    withLabel_->setVisible(replace);
    with_->setVisible(replace);
    replace_->setVisible(replace);
    replaceAll_->setVisible(replace);
    if (!what.isEmpty()) what_->setText(what);
    show();
    raise();
    activateWindow();
    what_->setFocus(Qt::OtherFocusReason);
    what_->selectAll();
}

FindRequest FindDialog::Request() const {
    return {what_->text(), with_->text(), matchCase_->isChecked(), wholeWord_->isChecked()};
}

} // namespace tarvo
