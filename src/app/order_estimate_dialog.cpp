#include "app/order_estimate_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvo {

namespace {

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

OrderEstimateDialog::OrderEstimateDialog(const OrderRequest& initial, std::int32_t family,
                                         const CFs& fs, QWidget* parent)
    : QDialog(parent), fs_(fs.GetValue()), unit_(fs.GetFreqUnitName()) {
    setWindowTitle("Estimate Order");
    setWhatsThis(QStringLiteral(
        "The smallest order of each family that keeps the loss at the passband edges within "
        "the ripple and reaches the attenuation at the stopband edges. Use types the chosen "
        "family's order and band edges into the design form."));

    auto* request = new QGroupBox("Requirements");
    auto* grid = new QGridLayout(request);
    response_ = new QComboBox;
    response_->setObjectName("response");
    for (std::int32_t r = kLowpass; r <= kBandstop; ++r)
        response_->addItem(Text(ResponseText(r)));
    response_->setCurrentIndex(initial.response);
    grid->addWidget(new QLabel("Response"), 0, 0);
    grid->addWidget(response_, 0, 1);
    grid->addWidget(new QLabel("Sampling frequency"), 1, 0);
    grid->addWidget(new QLabel(QString::fromStdString(fs.Format())), 1, 1);

    const std::array<std::string, kEstimateFieldCount> texts = EstimateFieldTexts(initial);
    static constexpr std::array<const char*, kEstimateFieldCount> kNames{
        "pass1", "pass2", "stop1", "stop2", "ripple", "attenuation"};
    for (std::int32_t f = 0; f < kEstimateFieldCount; ++f) {
        const auto i = static_cast<std::size_t>(f);
        fields_[i] = new QLineEdit(QString::fromStdString(texts[i]));
        fields_[i]->setObjectName(kNames[i]);
        const bool level = f == kEstimateRipple || f == kEstimateAtten;
        units_[i] = new QLabel(level ? QStringLiteral("dB") : QString::fromStdString(unit_));
        grid->addWidget(new QLabel(Text(EstimateFieldLabel(f))), f + 2, 0);
        grid->addWidget(fields_[i], f + 2, 1);
        grid->addWidget(units_[i], f + 2, 2);
        connect(fields_[i], &QLineEdit::textChanged, this, [this] { Estimate(); });
    }
    connect(response_, &QComboBox::currentIndexChanged, this, [this] { Estimate(); });

    auto* answers = new QGroupBox("Minimum order");
    auto* table = new QGridLayout(answers);
    families_ = new QButtonGroup(this);
    table->addWidget(new QLabel("<b>Family</b>"), 0, 0);
    table->addWidget(new QLabel("<b>Order</b>"), 0, 1);
    table->addWidget(new QLabel("<b>Band edges for the form</b>"), 0, 2);
    for (std::int32_t fam = kButterworth; fam <= kElliptic; ++fam) {
        const auto i = static_cast<std::size_t>(fam);
        auto* button = new QRadioButton(Text(FamilyText(fam)));
        families_->addButton(button, fam);
        orders_[i] = new QLabel;
        edges_[i] = new QLabel;
        edges_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        table->addWidget(button, fam + 1, 0);
        table->addWidget(orders_[i], fam + 1, 1);
        table->addWidget(edges_[i], fam + 1, 2);
    }
    table->setColumnStretch(2, 1);
    if (QAbstractButton* chosen = families_->button(family); chosen != nullptr) {
        chosen->setChecked(true);
    }
    connect(families_, &QButtonGroup::idClicked, this, [this] { Estimate(); });
    message_ = new QLabel;
    message_->setObjectName("message");
    message_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox;
    use_ = buttons->addButton("Use", QDialogButtonBox::AcceptRole);
    use_->setObjectName("use");
    use_->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(request);
    layout->addWidget(answers);
    layout->addWidget(message_);
    layout->addWidget(buttons);
    Estimate();
    fields_[kEstimatePass1]->setFocus();
    fields_[kEstimatePass1]->selectAll();
}

void OrderEstimateDialog::Estimate() {
    const std::int32_t response = response_->currentIndex();
    std::array<std::string, kEstimateFieldCount> texts;
    for (std::int32_t f = 0; f < kEstimateFieldCount; ++f) {
        const auto i = static_cast<std::size_t>(f);
        const bool enabled = EstimateFieldEnabled(f, response);
        fields_[i]->setEnabled(enabled);
        units_[i]->setEnabled(enabled);
        texts[i] = fields_[i]->text().toStdString();
    }
    const EstimateInput input = ReadEstimateFields(response, fs_, texts);
    request_ = input.request;
    estimate_ = request_ ? EstimateOrder(*request_) : OrderEstimate{};
    QString message = QString::fromStdString(request_ ? estimate_.error : input.message);
    for (std::size_t i = 0; i < orders_.size(); ++i) {
        const bool shown = request_ && estimate_.Ok();
        orders_[i]->setText(shown ? QString::fromStdString(EstimateOrderText(estimate_.families[i]))
                                  : QString());
        edges_[i]->setText(shown ? QString::fromStdString(
                                       EstimateEdgesText(estimate_.families[i], response, unit_))
                                 : QString());
    }
    message_->setText(message);
    use_->setEnabled(Choice().has_value());
}

std::optional<OrderChoice> OrderEstimateDialog::Choice() const {
    const int family = families_->checkedId();
    if (!request_ || !estimate_.Ok() || family < kButterworth || family > kElliptic) {
        return std::nullopt;
    }
    if (!estimate_.families[static_cast<std::size_t>(family)].Usable()) return std::nullopt;
    return OrderChoice{*request_, family};
}

QString OrderEstimateDialog::Message() const {
    return message_->text();
}

} // namespace tarvo
