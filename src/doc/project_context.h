#pragma once
// What a project document needs from the application around it: the settings,
// the dialogs and the document templates its window commands open frames from.
// Every pointer may be null: a document without templates opens no windows,
// without dialogs its dialog commands do nothing, without settings it uses the
// defaults (and "Save as default" saves nothing).

#include "fw/doc_template.h"

namespace fw {
class ProfileStore;
}

namespace tarvo {

struct AppOptions;
class ProjectDialogs;

struct ProjectTemplates {
    fw::DocTemplate* design = nullptr;        // split design window
    fw::DocTemplate* coefficients = nullptr;  // coefficient view
    fw::DocTemplate* frequencyPlot = nullptr; // one frequency-response plot
    fw::DocTemplate* timePlot = nullptr;      // impulse and step responses
    fw::DocTemplate* poleZero = nullptr;      // pole-zero plot
    fw::DocTemplate* multiPlot = nullptr;     // a column of frequency plots
    fw::DocTemplate* report = nullptr;        // the design report
};

struct ProjectContext {
    AppOptions* options = nullptr;
    fw::ProfileStore* settingsStore = nullptr;
    ProjectDialogs* dialogs = nullptr;
    ProjectTemplates templates;
    // The folder new export entries point into (the user's documents folder).
    std::string documentsFolder;
};

} // namespace tarvo
