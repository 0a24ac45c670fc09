#pragma once
// "Design Layout": the kinds of the design window's five panes, chosen on a
// sketch of the window, with "Minimize bottom row" and "Save as default".

#include "doc/project_dialogs.h"

#include <array>
#include <QDialog>

class QCheckBox;
class QComboBox;

namespace tarvo {

class CDesignLayout : public QDialog {
    Q_OBJECT

public:
    // "Save as default" starts unticked whatever choice says.
    explicit CDesignLayout(const DesignLayoutChoice& choice, QWidget* parent = nullptr);

    // The caller's choice until OK takes the dialog's.
    const DesignLayoutChoice& GetChoice() const { return m_choice; }

    void accept() override;

private:
    // The default layout's five kinds; the boxes keep their state.
    void Reset();

    DesignLayoutChoice m_choice;
    std::array<QComboBox*, 5> m_panes{};
    QCheckBox* m_minimizeBottomRow;
    QCheckBox* m_saveAsDefault;
};

} // namespace tarvo
