#pragma once
// The design report as the command-line tool prints it: a JSON object and the
// report's text lines.

#include <iosfwd>
#include <nlohmann/json.hpp>

namespace tarvo {
struct DesignReport;
}

namespace tarvo::cli {

// Every figure of the report; frequencies in "frequencyUnit", delays in
// "timeUnit"; a figure that could not be measured is null.
nlohmann::json DesignReportToJson(const DesignReport& report);

// "Design report:" and the report's lines, each indented by two spaces.
void WriteDesignReportText(const DesignReport& report, std::ostream& out);

} // namespace tarvo::cli
