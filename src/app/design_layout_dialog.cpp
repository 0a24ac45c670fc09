#include "app/design_layout_dialog.h"

#include "doc/app_options.h"
#include "doc/pane_kind.h"

#include <cstddef>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvo {
namespace {

// Kinds that no list entry names are shown as what their pane shows.
int ListIndexOf(std::int32_t kind) {
    return kind >= 0 && kind < kPaneKindCount ? kind : kPaneMagnitude;
}

// One pane of the sketch: a sunken frame around what it holds.
QFrame* SketchPane(QWidget* content) {
    auto* pane = new QFrame;
    pane->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* layout = new QVBoxLayout(pane);
    layout->addStretch();
    layout->addWidget(content);
    layout->addStretch();
    return pane;
}

} // namespace

CDesignLayout::CDesignLayout(const DesignLayoutChoice& choice, QWidget* parent)
    : QDialog(parent), m_choice(choice), m_minimizeBottomRow(new QCheckBox("Minimize bottom row")),
      m_saveAsDefault(new QCheckBox("Save as default")) {
    setWindowTitle("Design Layout");
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        auto* list = new QComboBox;
        list->setObjectName(QString("pane%1").arg(i));
        for (std::int32_t kind = 0; kind < kPaneKindCount; ++kind) {
            list->addItem(QString::fromUtf8(PaneKindName(kind).data(),
                                            static_cast<qsizetype>(PaneKindName(kind).size())));
        }
        list->setCurrentIndex(ListIndexOf(choice.kinds[i]));
        m_panes[i] = list;
    }

    // The sketch of the window: the form over panes 0 and 1 on the left, panes
    // 2, 3 and 4 on the right from top to bottom.
    auto* form = new QLabel(" Design Parameters");
    form->setObjectName("designParameters");
    auto* sketch = new QGridLayout;
    sketch->setSpacing(4);
    sketch->addWidget(SketchPane(form), 0, 0);
    sketch->addWidget(SketchPane(m_panes[0]), 1, 0);
    sketch->addWidget(SketchPane(m_panes[1]), 2, 0);
    sketch->addWidget(SketchPane(m_panes[2]), 0, 1);
    sketch->addWidget(SketchPane(m_panes[3]), 1, 1);
    sketch->addWidget(SketchPane(m_panes[4]), 2, 1);
    sketch->setColumnStretch(0, 1);
    sketch->setColumnStretch(1, 1);
    auto* group = new QGroupBox("Design Window Layout");
    group->setLayout(sketch);

    auto* reset = new QPushButton("Reset");
    reset->setObjectName("reset");
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, &CDesignLayout::Reset);
    m_minimizeBottomRow->setObjectName("minimizeBottomRow");
    m_minimizeBottomRow->setChecked(choice.minimizeBottomRow);
    m_saveAsDefault->setObjectName("saveAsDefault");
    auto* options = new QHBoxLayout;
    options->addWidget(reset);
    options->addSpacing(12);
    options->addWidget(m_minimizeBottomRow);
    options->addWidget(m_saveAsDefault);
    options->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName("buttons");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &CDesignLayout::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDesignLayout::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(options);
    layout->addWidget(buttons);
}

void CDesignLayout::Reset() {
    const AppOptions defaults;
    const std::array<std::int32_t, 5> kinds = {defaults.m_vsLeft1, defaults.m_vsLeft2,
                                               defaults.m_vsRight1, defaults.m_vsRight2,
                                               defaults.m_vsRight3};
    for (std::size_t i = 0; i < m_panes.size(); ++i)
        m_panes[i]->setCurrentIndex(kinds[i]);
}

void CDesignLayout::accept() {
    for (std::size_t i = 0; i < m_panes.size(); ++i)
        m_choice.kinds[i] = m_panes[i]->currentIndex();
    m_choice.minimizeBottomRow = m_minimizeBottomRow->isChecked();
    m_choice.saveAsDefault = m_saveAsDefault->isChecked();
    QDialog::accept();
}

} // namespace tarvo
