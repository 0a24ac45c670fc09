#include "views/design_form.h"

#include "design/design_action.h"
#include "design/design_form_rules.h"
#include "design/design_report.h"
#include "design/iir_filter.h"
#include "design/order_estimate.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "fw/field_exchange.h"
#include "fw/ui.h"
#include "plotui/dialog_fields.h"

#include <array>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tarvo {
namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QComboBox* List(QWidget* parent, const char* name, std::string_view (*text)(std::int32_t)) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (std::int32_t i = 0; !text(i).empty(); ++i)
        list->addItem(Text(text(i)));
    return list;
}

QLineEdit* Edit(QWidget* parent, const char* name, int chars) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 12);
    return edit;
}

QLabel* Label(const QString& text, QWidget* parent, const char* name = nullptr) {
    auto* label = new QLabel(text, parent);
    if (name != nullptr) label->setObjectName(name);
    return label;
}

// Ctrl+Z, Ctrl+Y and their companions in a form field undo the project, not the field.
bool IsProjectHistoryKey(const QKeyEvent& key) {
    const QKeyCombination combination = key.keyCombination();
    const QKeySequence sequence(combination);
    return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo) ||
           sequence == QKeySequence(QStringLiteral("Ctrl+Y")) ||
           sequence == QKeySequence(QStringLiteral("Ctrl+Shift+Z")) ||
           sequence == QKeySequence(QStringLiteral("Alt+Backspace"));
}

// Reads a double field: with report, the first refusal is shown and the field
// selected; without, a field that does not read keeps value.
bool ReadField(QLineEdit& edit, double& value, bool report, fw::Ui* ui) {
    const fw::FieldValue<double> field = fw::ReadDoubleField(FieldText(edit));
    if (field.Ok()) {
        value = *field.value;
        return true;
    }
    if (report && ui != nullptr) RefuseField(edit, field.message, *ui);
    return !report;
}

bool ReadBits(QLineEdit& edit, std::int32_t& value, bool report, fw::Ui* ui) {
    // As many fraction bits as the command-line tool allows.
    constexpr std::int64_t kMaxBits = 1023;
    const fw::FieldValue<std::int64_t> field = fw::ReadIntegerField(FieldText(edit), 0, kMaxBits);
    if (field.Ok()) {
        value = static_cast<std::int32_t>(*field.value);
        return true;
    }
    if (report && ui != nullptr) RefuseField(edit, field.message, *ui);
    return !report;
}

} // namespace

void OrderSpinBox::stepBy(int steps) {
    const int before = value();
    QSpinBox::stepBy(steps);
    if (value() != before) emit stepped();
}

DesignFormWidget::DesignFormWidget() {
    setObjectName("designForm");
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);

    auto* typeBox = new QGroupBox(QStringLiteral("Type"), this);
    family = List(typeBox, "family", &FamilyText);
    (new QVBoxLayout(typeBox))->addWidget(family);

    auto* fsBox = new QGroupBox(QStringLiteral("Sampling Frequency"), this);
    fsButton = new QPushButton(fsBox);
    fsButton->setObjectName("fsButton");
    fsButton->setAutoDefault(false);
    (new QVBoxLayout(fsBox))->addWidget(fsButton);

    auto* orderBox = new QGroupBox(QStringLiteral("Order"), this);
    order = new OrderSpinBox(orderBox);
    order->setObjectName("order");
    order->setRange(0, kMaxOrder);
    order->setKeyboardTracking(false);
    (new QVBoxLayout(orderBox))->addWidget(order);

    design = new QPushButton(QStringLiteral("Design"), this);
    design->setObjectName("design");
    design->setDefault(true);
    automatic = new QCheckBox(QStringLiteral("Automatic"), this);
    automatic->setObjectName("automatic");
    automatic->setChecked(true);
    auto* designColumn = new QVBoxLayout;
    designColumn->addWidget(design);
    designColumn->addWidget(automatic);
    designColumn->addStretch();

    auto* coefficientsBox = new QGroupBox(QStringLiteral("Coefficients"), this);
    dataType = List(coefficientsBox, "dataType", &DataTypeText);
    intBits = Edit(coefficientsBox, "intBits", 3);
    fracBits = Edit(coefficientsBox, "fracBits", 3);
    useBiquads = new QCheckBox(QStringLiteral("Use biquads"), coefficientsBox);
    useBiquads->setObjectName("useBiquads");
    auto* bits = new QHBoxLayout;
    bits->addWidget(intBits);
    bits->addWidget(Label(QStringLiteral("."), coefficientsBox));
    bits->addWidget(fracBits);
    auto* coefficients = new QVBoxLayout(coefficientsBox);
    coefficients->addWidget(dataType);
    coefficients->addWidget(Label(QStringLiteral("Fixed Point Format"), coefficientsBox));
    coefficients->addLayout(bits);
    coefficients->addWidget(useBiquads);
    coefficients->addStretch();

    auto* frequencyBox = new QGroupBox(QStringLiteral("Frequency"), this);
    response = List(frequencyBox, "response", &ResponseText);
    edge1Label = Label(QStringLiteral("Cutoff 1"), frequencyBox, "edge1Label");
    edge1 = Edit(frequencyBox, "edge1", 10);
    edge1Unit = Label({}, frequencyBox, "edge1Unit");
    edge2Label = Label(QStringLiteral("Cutoff 2"), frequencyBox, "edge2Label");
    edge2 = Edit(frequencyBox, "edge2", 10);
    edge2Unit = Label({}, frequencyBox, "edge2Unit");
    centerWidth = new QCheckBox(QStringLiteral("Specify center and width"), frequencyBox);
    centerWidth->setObjectName("centerWidth");
    auto* frequency = new QGridLayout(frequencyBox);
    frequency->addWidget(Label(QStringLiteral("Response"), frequencyBox), 0, 0);
    frequency->addWidget(response, 0, 1, 1, 2);
    frequency->addWidget(edge1Label, 1, 0);
    frequency->addWidget(edge1, 1, 1);
    frequency->addWidget(edge1Unit, 1, 2);
    frequency->addWidget(edge2Label, 2, 0);
    frequency->addWidget(edge2, 2, 1);
    frequency->addWidget(edge2Unit, 2, 2);
    frequency->addWidget(centerWidth, 3, 0, 1, 3);
    frequency->setRowStretch(4, 1);

    auto* magnitudeBox = new QGroupBox(QStringLiteral("Magnitude"), this);
    ripple = Edit(magnitudeBox, "ripple", 8);
    attenuation = Edit(magnitudeBox, "attenuation", 8);
    gain = Edit(magnitudeBox, "gain", 8);
    adjustForRipple = new QCheckBox(QStringLiteral("Adjust for ripple"), magnitudeBox);
    adjustForRipple->setObjectName("adjustForRipple");
    auto* magnitude = new QGridLayout(magnitudeBox);
    const std::array<std::pair<const char*, QLineEdit*>, 3> levels{
        {{"Passband Ripple", ripple}, {"Stopband Attn", attenuation}, {"Gain", gain}}};
    for (int row = 0; row < 3; ++row) {
        const auto& [label, edit] = levels[static_cast<std::size_t>(row)];
        magnitude->addWidget(Label(QString::fromLatin1(label), magnitudeBox), row, 0);
        magnitude->addWidget(edit, row, 1);
        magnitude->addWidget(Label(QStringLiteral("dB"), magnitudeBox), row, 2);
    }
    magnitude->addWidget(adjustForRipple, 3, 0, 1, 3);
    magnitude->setRowStretch(4, 1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->addWidget(typeBox, 0, 0);
    grid->addWidget(fsBox, 0, 1);
    grid->addWidget(orderBox, 0, 2);
    grid->addLayout(designColumn, 0, 3);
    grid->addWidget(coefficientsBox, 1, 0);
    grid->addWidget(frequencyBox, 1, 1, 1, 2);
    grid->addWidget(magnitudeBox, 1, 3);
    grid->setRowStretch(2, 1);

    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
}

bool DesignFormWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        IsProjectHistoryKey(*static_cast<QKeyEvent*>(event))) {
        // Left to the program's Undo and Redo instead of the field's own.
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DesignFormWidget::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        design->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

CIirEditor::CIirEditor() {
    form_ = new DesignFormWidget;
    SetWidget(form_);
    form_->setWhatsThis(QStringLiteral(
        "The design form: the filter's family, response, order, sampling frequency, band "
        "edges, ripple, attenuation, gain and coefficient type."));
    Push(fields_);
    ApplyRules();

    QObject::connect(form_->design, &QPushButton::clicked, form_, [this] { Design(); });
    for (QLineEdit* edit : form_->findChildren<QLineEdit*>()) {
        QObject::connect(edit, &QLineEdit::returnPressed, form_, [this] { Design(); });
    }
    QObject::connect(form_->fsButton, &QPushButton::clicked, form_, [this] {
        if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr && filter_ != nullptr) {
            doc->OnSamplingFrequency();
        }
    });
    // User actions only: a refill of the controls fires none of these.
    for (QComboBox* list : {form_->family, form_->response, form_->dataType}) {
        QObject::connect(list, &QComboBox::activated, form_, [this] { OnChoice(); });
    }
    QObject::connect(form_->useBiquads, &QCheckBox::clicked, form_, [this] { OnChoice(); });
    QObject::connect(form_->adjustForRipple, &QCheckBox::clicked, form_, [this] {
        if (form_->automatic->isChecked()) Design();
    });
    QObject::connect(form_->centerWidth, &QCheckBox::clicked, form_, [this] { OnCenterWidth(); });
    QObject::connect(form_->order, &OrderSpinBox::stepped, form_, [this] { OnStep(); });
}

fw::Ui* CIirEditor::GetUiOrNull() const {
    return GetDocument() != nullptr ? &GetDocument()->GetUi() : nullptr;
}

void CIirEditor::OnUpdate(fw::View* /*sender*/, std::int32_t hint, fw::Object* hintObject) {
    auto* filter = dynamic_cast<CIirFilter*>(hintObject);
    if (filter_ == nullptr) {
        if (filter == nullptr) return;
        filter_ = filter;
        fields_ = filter_->spec;
        ShowSamplingFrequency();
        Push(fields_);
        ApplyRules();
        return;
    }
    switch (hint::Event(hint)) {
    case hint::kDesignChanged:
    case hint::kFsChanged:
        ShowSamplingFrequency();
        fields_ = filter_->spec;
        Push(fields_);
        ApplyRules();
        break;
    case hint::kStoring:
        // What the form shows is what is stored, typed or designed; silently.
        Pull(fields_, false);
        filter_->spec = fields_;
        break;
    case hint::kOrderEstimate:
        if (const auto* typed = dynamic_cast<const OrderEstimateHint*>(hintObject)) {
            // The rest of what is typed stays; the estimate replaces its own fields.
            Pull(fields_, false);
            fields_ = ApplyEstimate(fields_, typed->request, typed->chosen);
            Push(fields_);
            ApplyRules();
            if (CTarvoIirDoc* doc = GetIirDocument(); doc != nullptr) {
                doc->SetEstimatedDesign(MakeEstimatedDesign(fields_, typed->request));
            }
        }
        break;
    default:
        break;
    }
}

bool CIirEditor::Pull(IirDesignSpec& form, bool report) {
    fw::Ui* ui = GetUiOrNull();
    form.order = form_->order->value();
    form.family = form_->family->currentIndex();
    form.response = form_->response->currentIndex();
    form.dataType = form_->dataType->currentIndex();
    if (!ReadBits(*form_->intBits, form.intBits, report, ui)) return false;
    if (!ReadBits(*form_->fracBits, form.fracBits, report, ui)) return false;
    if (!ReadField(*form_->edge1, form.edge1, report, ui)) return false;
    if (!ReadField(*form_->ripple, form.rippleDb, report, ui)) return false;
    if (!ReadField(*form_->edge2, form.edge2, report, ui)) return false;
    if (!ReadField(*form_->attenuation, form.attenDb, report, ui)) return false;
    if (!ReadField(*form_->gain, form.gainDb, report, ui)) return false;
    form.centerWidth = form_->centerWidth->isChecked() ? 1 : 0;
    form.adjustForRipple = form_->adjustForRipple->isChecked() ? 1 : 0;
    form.useBiquads = form_->useBiquads->isChecked() ? 1 : 0;
    return true;
}

void CIirEditor::Push(const IirDesignSpec& form) {
    const QList<QWidget*> controls = form_->findChildren<QWidget*>();
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    blockers.reserve(static_cast<std::size_t>(controls.size()));
    for (QWidget* w : controls)
        blockers.push_back(std::make_unique<QSignalBlocker>(w));
    form_->order->setValue(form.order);
    form_->family->setCurrentIndex(form.family);
    form_->response->setCurrentIndex(form.response);
    form_->dataType->setCurrentIndex(form.dataType);
    ShowInteger(*form_->intBits, form.intBits);
    ShowInteger(*form_->fracBits, form.fracBits);
    ShowDouble(*form_->edge1, form.edge1);
    ShowDouble(*form_->edge2, form.edge2);
    ShowDouble(*form_->ripple, form.rippleDb);
    ShowDouble(*form_->attenuation, form.attenDb);
    ShowDouble(*form_->gain, form.gainDb);
    form_->centerWidth->setChecked(form.centerWidth != 0);
    form_->adjustForRipple->setChecked(form.adjustForRipple != 0);
    form_->useBiquads->setChecked(form.useBiquads == 1);
}

void CIirEditor::ApplyRules() {
    const DesignFormState state = DesignFormRules(fields_);
    form_->ripple->setEnabled(state.rippleEnabled);
    form_->attenuation->setEnabled(state.attenuationEnabled);
    form_->edge2->setEnabled(state.secondEdgeEnabled);
    form_->centerWidth->setEnabled(state.centerWidthEnabled);
    form_->intBits->setEnabled(state.fixedPointEnabled);
    form_->fracBits->setEnabled(state.fixedPointEnabled);
    form_->edge1Label->setText(Text(state.firstLabel));
    form_->edge2Label->setText(Text(state.secondLabel));
}

void CIirEditor::ShowSamplingFrequency() {
    if (filter_ == nullptr) return;
    form_->fsButton->setText(QString::fromStdString(filter_->fs.Format()));
    const QString unit = QString::fromStdString(filter_->fs.GetFreqUnitName());
    form_->edge1Unit->setText(unit);
    form_->edge2Unit->setText(unit);
}

void CIirEditor::OnChoice() {
    // The lists and boxes themselves always read; the number fields as far as they do.
    Pull(fields_, false);
    ApplyRules();
    if (form_->automatic->isChecked()) Design();
}

void CIirEditor::OnCenterWidth() {
    const bool nowSet = form_->centerWidth->isChecked();
    IirDesignSpec pulled = fields_;
    if (!Pull(pulled, true)) {
        // The two values to convert are not numbers: the box goes back.
        const QSignalBlocker blocker(form_->centerWidth);
        form_->centerWidth->setChecked(!nowSet);
        return;
    }
    fields_ = pulled;
    ToggleCenterWidth(fields_, nowSet);
    ShowDouble(*form_->edge1, fields_.edge1);
    ShowDouble(*form_->edge2, fields_.edge2);
    ApplyRules();
}

void CIirEditor::OnStep() {
    if (form_->automatic->isChecked()) Design();
}

bool CIirEditor::Design() {
    CTarvoIirDoc* doc = GetIirDocument();
    if (filter_ == nullptr || doc == nullptr) return false;
    IirDesignSpec pulled = fields_;
    // A field that does not read stops Design there: nothing typed is guessed.
    if (!Pull(pulled, true)) return false;
    fields_ = pulled;
    ApplyRules();
    const DesignOutcome outcome = RunDesign(doc->GetFilter(), fields_, doc->GetMinDb());
    if (!outcome.Designed()) {
        doc->GetUi().Message(outcome.message, fw::Icon::Stop);
        return false;
    }
    doc->OnFilterChanged(true, 0);
    // What the design achieved, measured on the coefficients it uses.
    doc->GetUi().SetLastingStatus(
        doc->GetTitle() + ": " +
        DesignReportStatus(MakeDesignReport(doc->GetFilter(), doc->GetReportBands())));
    if (!outcome.warning.empty()) doc->GetUi().Message(outcome.warning, fw::Icon::Warning);
    return true;
}

} // namespace tarvo
