#pragma once
// CIirEditor: the design form in the top-left pane of a design window. It shows
// the project's specification, lets the user edit it and designs on Design,
// on Return in any field, and (with "Automatic") on every choice in a list,
// click of a box or step of the order arrows. Its rules come from the Qt-free
// design-form rules; it only shows them and forwards the user's actions.

#include "design/iir_spec.h"
#include "views/widget_view.h"

#include <cstdint>
#include <QSpinBox>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fw {
class Ui;
}

namespace tarvo {

class CIirFilter;

// The order field: its arrows (buttons, keys, wheel) tell the form that the
// user stepped, apart from the value changes a refill makes.
class OrderSpinBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override;

signals:
    void stepped();
};

class DesignFormWidget : public QWidget {
    Q_OBJECT
public:
    DesignFormWidget();

    QComboBox* family = nullptr;
    QPushButton* fsButton = nullptr;
    OrderSpinBox* order = nullptr;
    QPushButton* design = nullptr;
    QCheckBox* automatic = nullptr;
    QComboBox* dataType = nullptr;
    QLineEdit* intBits = nullptr;
    QLineEdit* fracBits = nullptr;
    QCheckBox* useBiquads = nullptr;
    QComboBox* response = nullptr;
    QLabel* edge1Label = nullptr;
    QLineEdit* edge1 = nullptr;
    QLabel* edge1Unit = nullptr;
    QLabel* edge2Label = nullptr;
    QLineEdit* edge2 = nullptr;
    QLabel* edge2Unit = nullptr;
    QCheckBox* centerWidth = nullptr;
    QLineEdit* ripple = nullptr;
    QLineEdit* attenuation = nullptr;
    QLineEdit* gain = nullptr;
    QCheckBox* adjustForRipple = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Return anywhere in the form designs, as the default button of a dialog would.
    void keyPressEvent(QKeyEvent* event) override;
};

class CIirEditor : public WidgetView {
public:
    CIirEditor();

    void OnUpdate(fw::View* sender, std::int32_t hint, fw::Object* hintObject) override;
    std::optional<MenuBarKind> FocusMenuBar() const override { return MenuBarKind::kDesign; }
    HelpTopic Help() const override { return HelpTopic::kDesignForm; }

    DesignFormWidget* Form() const { return form_; }
    const CIirFilter* Filter() const { return filter_; }

    // Design: the fields in order (stopping, with its message, at one that does
    // not read), the checks and the design, then the project hears of it.
    // False when nothing was designed.
    bool Design();

private:
    // The fields into form; reporting shows the message of the first field that
    // does not read and stops there, silent reading keeps the value it had.
    bool Pull(IirDesignSpec& form, bool report);
    void Push(const IirDesignSpec& form);
    void ApplyRules();
    void ShowSamplingFrequency();
    void OnChoice();
    void OnCenterWidth();
    void OnStep();
    fw::Ui* GetUiOrNull() const;

    DesignFormWidget* form_ = nullptr;
    CIirFilter* filter_ = nullptr;
    // The values the form shows, as last filled or pulled.
    IirDesignSpec fields_;
};

} // namespace tarvo
