#include "plotui/axis_dialog.h"

#include <array>
#include <climits>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvo {
namespace {

// Fifteen significant digits, so that 0.30000000000000004 reads 0.3.
void ShowAxisValue(QLineEdit& edit, double value) {
    edit.setText(QString::number(value, 'g', 15));
}

QLineEdit* MakeEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

} // namespace

AxisDialog::AxisDialog(fw::Ui& ui, const std::string& title, const AxisSettings& record,
                       QWidget* parent, bool logAllowed)
    : FieldDialog(ui, parent), title_(title), record_(record), max_(MakeEdit("axisMaximum")),
      min_(MakeEdit("axisMinimum")), labelStep_(MakeEdit("labelSpacing")),
      ticStep_(MakeEdit("ticSpacing")), autoscale_(new QCheckBox("&Automatic")),
      autoscaleOnce_(new QPushButton("Autoscale Once")), power_(MakeEdit("power")),
      digits_(MakeEdit("digits")), autoPower_(new QCheckBox("Automatic")),
      grid_(new QButtonGroup(this)), log_(new QCheckBox("&Log Mode")) {
    setWindowTitle(QString::fromStdString(title));
    autoscale_->setObjectName("autoscale");
    autoscaleOnce_->setObjectName("autoscaleOnce");
    autoscaleOnce_->setAutoDefault(false);
    autoPower_->setObjectName("autoPower");
    log_->setObjectName("logMode");
    log_->setEnabled(logAllowed);

    auto* scaling = new QGroupBox("Axis Scaling");
    auto* scalingForm = new QFormLayout;
    scalingForm->addRow("Axis Maximum", max_);
    scalingForm->addRow("Axis Minimum", min_);
    scalingForm->addRow("Label Spacing", labelStep_);
    scalingForm->addRow("Tic Spacing", ticStep_);
    auto* scalingButtons = new QHBoxLayout;
    scalingButtons->addWidget(autoscale_);
    scalingButtons->addWidget(autoscaleOnce_);
    auto* scalingBox = new QVBoxLayout(scaling);
    scalingBox->addLayout(scalingForm);
    scalingBox->addLayout(scalingButtons);

    auto* labels = new QGroupBox("Label Scaling");
    auto* labelsForm = new QFormLayout(labels);
    labelsForm->addRow("Power of 10", power_);
    labelsForm->addRow("Max Decimal Digits", digits_);
    labelsForm->addRow(autoPower_);

    auto* grid = new QGroupBox("Grid Options");
    auto* gridBox = new QVBoxLayout(grid);
    const std::array<const char*, 4> gridTexts{"None", "On Tic Marks", "On Labels", "On Zero"};
    const std::array<const char*, 4> gridNames{"gridNone", "gridTics", "gridLabels", "gridZero"};
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(gridTexts[static_cast<std::size_t>(i)]);
        radio->setObjectName(gridNames[static_cast<std::size_t>(i)]);
        grid_->addButton(radio, i);
        gridBox->addWidget(radio);
    }

    auto* columns = new QGridLayout;
    columns->addWidget(scaling, 0, 0, 2, 1);
    columns->addWidget(labels, 0, 1);
    columns->addWidget(grid, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(log_);
    layout->addWidget(MakeButtons());

    ShowRecord();
    UpdateEnabled();
    connect(autoscale_, &QCheckBox::clicked, this, [this](bool on) {
        UpdateEnabled();
        if (on) AutoscaleOnce();
    });
    connect(autoPower_, &QCheckBox::clicked, this, [this] { UpdateEnabled(); });
    connect(log_, &QCheckBox::clicked, this, [this] {
        if (autoscale_->isChecked()) AutoscaleOnce();
    });
    connect(autoscaleOnce_, &QPushButton::clicked, this, [this] { AutoscaleOnce(); });
}

void AxisDialog::ShowRecord() {
    ShowAxisValue(*max_, record_.m_dLast);
    ShowAxisValue(*min_, record_.m_dFirst);
    ShowAxisValue(*labelStep_, record_.m_dLabelStep);
    ShowAxisValue(*ticStep_, record_.m_dTicStep);
    autoscale_->setChecked(record_.m_bAutoscale);
    ShowInteger(*power_, record_.m_nPower);
    ShowInteger(*digits_, record_.m_nDigits);
    autoPower_->setChecked(!record_.m_bManualPower);
    if (QAbstractButton* button = grid_->button(record_.m_nGrid); button != nullptr) {
        button->setChecked(true);
    }
    log_->setChecked(record_.m_bLog);
}

void AxisDialog::UpdateEnabled() {
    const bool manualRange = !autoscale_->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(max_), static_cast<QWidget*>(min_),
                       static_cast<QWidget*>(labelStep_), static_cast<QWidget*>(ticStep_),
                       static_cast<QWidget*>(autoscaleOnce_)}) {
        w->setEnabled(manualRange);
    }
    power_->setEnabled(!autoPower_->isChecked());
}

void AxisDialog::AutoscaleOnce() {
    const NiceScale scale = ComputeNiceScale(record_.m_dMin, record_.m_dMax, log_->isChecked());
    ShowAxisValue(*min_, scale.first);
    ShowAxisValue(*max_, scale.last);
    ShowAxisValue(*ticStep_, scale.ticStep);
    ShowAxisValue(*labelStep_, scale.labelStep);
}

bool AxisDialog::ReadFields() {
    fw::Ui& ui = GetUi();
    const std::optional<double> last = ReadDouble(*max_, ui);
    if (!last) return false;
    const std::optional<double> first = ReadDouble(*min_, ui);
    if (!first) return false;
    const std::optional<double> labelStep = ReadDouble(*labelStep_, ui);
    if (!labelStep) return false;
    const std::optional<double> ticStep = ReadDouble(*ticStep_, ui);
    if (!ticStep) return false;
    const std::optional<std::int64_t> power = ReadInteger(*power_, INT_MIN, INT_MAX, ui);
    if (!power) return false;
    const std::optional<std::int64_t> digits = ReadInteger(*digits_, INT_MIN, INT_MAX, ui);
    if (!digits) return false;

    AxisSettings edited = record_;
    edited.m_dLast = *last;
    edited.m_dFirst = *first;
    edited.m_dLabelStep = *labelStep;
    edited.m_dTicStep = *ticStep;
    edited.m_bAutoscale = autoscale_->isChecked();
    edited.m_nPower = static_cast<int>(*power);
    edited.m_nDigits = static_cast<int>(*digits);
    edited.m_bManualPower = !autoPower_->isChecked();
    if (const int grid = grid_->checkedId(); grid >= 0 && grid <= 3) edited.m_nGrid = grid;
    edited.m_bLog = log_->isChecked();

    const AxisDialogCheck check = CheckAxisDialog(title_, edited);
    if (check.refusal) {
        RefuseField(*max_, *check.refusal, ui);
        return false;
    }
    for (const std::string& message : check.messages)
        ui.Message(message, fw::Icon::Warning);
    record_ = check.record;
    return true;
}

} // namespace tarvo
