#pragma once
// The modal dialogs a project's commands run. The desktop program shows real
// dialogs; the tests answer them. Each works on a copy and hands values back
// only on OK.

#include "design/order_estimate.h"
#include "plot/fs.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tarvo {

class CExportFiles;

// The Design Layout dialog's values: the kinds of the five panes, the
// "Minimize bottom row" and "Save as default" boxes.
struct DesignLayoutChoice {
    std::array<std::int32_t, 5> kinds{};
    bool minimizeBottomRow = false;
    bool saveAsDefault = false;

    friend bool operator==(const DesignLayoutChoice&, const DesignLayoutChoice&) = default;
};

// What the Estimate Order dialog hands back on Use: the request it estimated
// and the family whose order and edges go into the form.
struct OrderChoice {
    OrderRequest request;
    std::int32_t family = kButterworth;
};

class ProjectDialogs {
public:
    ProjectDialogs() = default;
    ProjectDialogs(const ProjectDialogs&) = delete;
    ProjectDialogs& operator=(const ProjectDialogs&) = delete;
    virtual ~ProjectDialogs() = default;

    // "Set Minimum Decibels" preset with current: the value on OK.
    virtual std::optional<double> MinimumDb(double current) = 0;
    // "Set Sampling Frequency" on a copy of fs: value and unit on OK.
    virtual std::optional<CFs> SamplingFrequency(const CFs& fs) = 0;
    // "Export Files": edits the list in place and closes with Close.
    virtual void ExportFiles(CExportFiles& exports) = 0;
    // "Design Layout" preset with initial ("Save as default" unticked): the
    // values unless the dialog ended with Cancel.
    virtual std::optional<DesignLayoutChoice> DesignLayout(const DesignLayoutChoice& initial) = 0;
    // "Estimate Order" preset with initial, the form's family chosen, at the
    // project's sampling frequency: the request and family on Use.
    virtual std::optional<OrderChoice> EstimateOrder(const OrderRequest& initial,
                                                     std::int32_t family, const CFs& fs) = 0;
};

} // namespace tarvo
