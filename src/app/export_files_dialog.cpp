#include "app/export_files_dialog.h"

#include "app/export_format_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tarvo {

namespace {

QPushButton* MakeButton(const char* name, const char* label) {
    auto* button = new QPushButton(label);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CExportFilesDialog::CExportFilesDialog(CExportFiles& exports, fw::Ui& ui,
                                       CExportFormatEditor& editor, QWidget* parent)
    : QDialog(parent), m_exports(exports), m_ui(ui), m_editor(editor), m_list(new QListWidget),
      m_remove(MakeButton("remove", "Remove")), m_modify(MakeButton("modify", "Modify...")),
      m_view(MakeButton("view", "View")), m_export(MakeButton("export", "Export")),
      m_exportAll(MakeButton("exportAll", "Export All")),
      m_autoExport(new QCheckBox("Auto export all")) {
    setWindowTitle("Export Files");
    m_list->setObjectName("pathList");
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumSize(420, 180);
    m_autoExport->setObjectName("autoExport");
    QPushButton* add = MakeButton("add", "Add...");
    QPushButton* close = MakeButton("close", "Close");
    close->setDefault(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {add, m_remove, m_modify, m_view, m_export, m_exportAll})
        buttons->addWidget(button);
    buttons->addSpacing(8);
    buttons->addWidget(m_autoExport);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_list, &QListWidget::itemSelectionChanged, this,
            &CExportFilesDialog::OnSelectionChanged);
    connect(add, &QPushButton::clicked, this, &CExportFilesDialog::OnAdd);
    connect(m_remove, &QPushButton::clicked, this, &CExportFilesDialog::OnRemove);
    connect(m_modify, &QPushButton::clicked, this, &CExportFilesDialog::OnModify);
    connect(m_view, &QPushButton::clicked, this, &CExportFilesDialog::OnView);
    connect(m_export, &QPushButton::clicked, this, &CExportFilesDialog::OnExport);
    connect(m_exportAll, &QPushButton::clicked, this, &CExportFilesDialog::OnExportAll);
    connect(m_autoExport, &QCheckBox::clicked, this,
            [this](bool on) { m_exports.SetAutoExport(on); });
    // Nothing to cancel: the list is edited in place, so Close is accept.
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    m_exports.OpenDialog();
    m_autoExport->setChecked(m_exports.AutoExportOn());
    FillList();
    Refresh();
}

void CExportFilesDialog::FillList() {
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    for (const std::string& line : m_exports.Lines())
        m_list->addItem(QString::fromStdString(line));
}

void CExportFilesDialog::Refresh() {
    m_exports.UpdateButtons();
    {
        const QSignalBlocker blocker(m_list);
        const int selected = m_exports.Selected();
        m_list->setCurrentRow(selected);
        if (selected < 0) m_list->clearSelection();
    }
    const ExportButtons& state = m_exports.Buttons();
    m_remove->setEnabled(state.remove);
    m_modify->setEnabled(state.modify);
    m_view->setEnabled(state.view);
    m_export->setEnabled(state.exportSelected);
    m_exportAll->setEnabled(state.exportAll);
}

void CExportFilesDialog::OnSelectionChanged() {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    m_exports.Select(selected.isEmpty() ? -1 : m_list->row(selected.front()));
    Refresh();
}

void CExportFilesDialog::OnAdd() {
    if (!m_exports.Add(m_editor)) return;
    FillList();
    // The new entry is the last line; with others it stays unselected, as the
    // list box does when a line is appended.
    Refresh();
}

void CExportFilesDialog::OnRemove() {
    if (!m_exports.Remove()) return;
    FillList();
    Refresh();
}

void CExportFilesDialog::OnModify() {
    if (!m_exports.Modify(m_editor)) return;
    FillList();
    Refresh();
}

void CExportFilesDialog::OnView() {
    m_exports.View(m_ui);
    Refresh();
}

void CExportFilesDialog::OnExport() {
    m_exports.Export(m_ui);
    Refresh();
}

void CExportFilesDialog::OnExportAll() {
    m_exports.ExportAll(m_ui);
    Refresh();
}

void RunExportFilesDialog(CExportFiles& exports, fw::Ui& ui, FileChooser& chooser,
                          QWidget* parent) {
    DialogExportFormatEditor editor(ui, chooser, parent);
    CExportFilesDialog dialog(exports, ui, editor, parent);
    dialog.exec();
}

} // namespace tarvo
