#pragma once
// CExportFiles: a project's list of export files and what the "Export Files"
// dialog does with it — add, remove, modify, view, export one or all — plus the
// automatic export the document runs on every design change. The dialog window
// only shows this model and forwards its buttons to it.

#include "export/export_file_list.h"
#include "export/export_path.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fw {
class Archive;
class Document;
class Ui;
} // namespace fw

namespace tarvo {

class CIirFilter;
class CIirExportFileFormat;

// What View says of a file it does not hand to the desktop: a folder, a device,
// a program or a desktop launcher.
std::string NotViewableMessage(const std::string& path);

// Runs the "Export File Format" dialog on an entry; the desktop program shows
// the window, tests answer directly.
class CExportFormatEditor {
public:
    CExportFormatEditor() = default;
    CExportFormatEditor(const CExportFormatEditor&) = delete;
    CExportFormatEditor& operator=(const CExportFormatEditor&) = delete;
    virtual ~CExportFormatEditor() = default;

    // True on OK, with entry holding the accepted values; false on Cancel.
    virtual bool Edit(CIirExportFileFormat& entry) = 0;
};

// Enabled state of the dialog's buttons; Add, "Auto export all" and Close are
// always enabled.
struct ExportButtons {
    bool remove = false;
    bool modify = false;
    bool view = false;
    bool exportSelected = false;
    bool exportAll = false;

    friend bool operator==(const ExportButtons&, const ExportButtons&) = default;
};

class CExportFiles {
public:
    // New entries put their files in documentsFolder.
    explicit CExportFiles(std::string documentsFolder = DefaultDocumentsFolder());
    CExportFiles(const CExportFiles&) = delete;
    CExportFiles& operator=(const CExportFiles&) = delete;
    ~CExportFiles();

    // When "Auto export all" is set, writes every entry in list order; each
    // failure is reported and the next entry still written. True when every
    // file was written (and when there was nothing to do).
    bool AutoExport(fw::Ui& ui);
    // The list (the "Auto export all" state is not stored). Loading clears the
    // selection.
    void Serialize(fw::Archive& ar, std::int32_t fileVersion);

    // --- The "Export Files" dialog.
    // Opening: no selection, then the buttons are updated.
    void OpenDialog();
    // One line per entry: its path, in list order.
    std::vector<std::string> Lines() const;
    // The selected entry's index, -1 for none.
    std::int32_t Selected() const;
    // A selection change of the list box (an index out of range selects none).
    void Select(std::int32_t index);
    // The "Auto export all" check box; it is the member itself, so whatever
    // button is pressed next sees the state as shown.
    void SetAutoExport(bool on);
    bool AutoExportOn() const { return m_bAutoExport != 0; }
    // State as of the last update.
    const ExportButtons& Buttons() const { return m_buttons; }
    // When the list holds exactly one entry it becomes selected; then the
    // enabled states are worked out (View looks at the file system).
    void UpdateButtons();

    // Add...: a new entry with the export defaults, started from the selected
    // entry when there is one, edited; on OK appended (and selected when it is
    // the only one). False on Cancel.
    bool Add(CExportFormatEditor& editor);
    // Remove: deletes the selected entry; false when none is selected.
    bool Remove();
    // Modify...: edits a copy of the selected entry and keeps it on OK. False on
    // Cancel or without a selection.
    bool Modify(CExportFormatEditor& editor);
    // View: asks the desktop to open the selected entry's file when it is a
    // regular file that is neither executable nor a ".desktop" launcher (others
    // get NotViewableMessage); a failure is reported. False without a selection
    // or on failure.
    bool View(fw::Ui& ui);
    // Export: writes the selected entry. False when disabled or on failure.
    bool Export(fw::Ui& ui);
    // Export All: writes every entry in list order, going on after a failure.
    // False when disabled or when any file failed.
    bool ExportAll(fw::Ui& ui);

    fw::Document* m_pDoc = nullptr;  // the owning document, set by it
    CIirFilter* m_pFilter = nullptr; // the filter every entry writes, set by the document
    CExportFileList m_list;
    std::int32_t m_bAutoExport = 1;

private:
    bool FilterDesigned() const;
    CIirExportFileFormat* SelectedEntry();
    bool WriteEntries(fw::Ui& ui);

    std::string m_strDocumentsFolder;
    std::int32_t m_nSelected = -1;
    ExportButtons m_buttons;
};

} // namespace tarvo
