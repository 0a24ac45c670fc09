#pragma once
// "Export Files": the project's export list with its buttons. The window mirrors
// CExportFiles, which holds the entries, the selection and the button states;
// the list is edited in place, so Close (and Escape) keep every change.

#include "export/export_files.h"

#include <QDialog>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace fw {
class Ui;
}

namespace tarvo {

class FileChooser;

class CExportFilesDialog : public QDialog {
    Q_OBJECT

public:
    // Add... and Modify... edit entries through editor.
    CExportFilesDialog(CExportFiles& exports, fw::Ui& ui, CExportFormatEditor& editor,
                       QWidget* parent = nullptr);

private:
    void FillList();
    void Refresh();
    void OnSelectionChanged();
    void OnAdd();
    void OnRemove();
    void OnModify();
    void OnView();
    void OnExport();
    void OnExportAll();

    CExportFiles& m_exports;
    fw::Ui& m_ui;
    CExportFormatEditor& m_editor;
    QListWidget* m_list;
    QPushButton* m_remove;
    QPushButton* m_modify;
    QPushButton* m_view;
    QPushButton* m_export;
    QPushButton* m_exportAll;
    QCheckBox* m_autoExport;
};

// The document's Export... command: the dialog with the "Export File Format"
// window as its entry editor, modal over parent.
void RunExportFilesDialog(CExportFiles& exports, fw::Ui& ui, FileChooser& chooser, QWidget* parent);

} // namespace tarvo
