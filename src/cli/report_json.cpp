#include "cli/report_json.h"

#include "design/design_report.h"

#include <cmath>
#include <optional>
#include <ostream>
#include <string>

namespace tarvo::cli {

using nlohmann::json;

namespace {

// JSON has no NaN or infinity: a figure without a finite value is null.
json Value(const std::optional<double>& x) {
    if (!x || !std::isfinite(*x)) return nullptr;
    return *x;
}

const char* SourceName(StopEdgeSource source) {
    switch (source) {
    case StopEdgeSource::kDesign:
        return "design";
    case StopEdgeSource::kGiven:
        return "given";
    default:
        return "none";
    }
}

} // namespace

json DesignReportToJson(const DesignReport& r) {
    json j;
    j["designed"] = r.designed;
    j["frequencyUnit"] = r.frequencyUnit;
    j["timeUnit"] = r.timeUnit;
    json edges = json::array();
    for (const double f : r.edges3dB)
        edges.push_back(f);
    j["edges3dB"] = edges;
    j["passbandMaxDb"] = Value(r.passbandMaxDb);
    j["passbandRippleDb"] = Value(r.passbandRippleDb);
    json stop = json::array();
    if (r.stopEdge1) stop.push_back(Value(r.stopEdge1));
    if (r.stopEdge2) stop.push_back(Value(r.stopEdge2));
    j["stopbandEdges"] = stop;
    j["stopbandEdgeSource"] = SourceName(r.stopEdgeSource);
    j["attenuationDb"] = Value(r.attenuationDb);
    j["peakGroupDelay"] = Value(r.peakGroupDelay);
    j["peakGroupDelayFrequency"] = Value(r.peakGroupDelayFrequency);
    j["maxPoleRadius"] = Value(r.maxPoleRadius);
    j["unstable"] = r.unstable;
    j["maxCoefficientChange"] = Value(r.maxCoefficientChange);
    return j;
}

void WriteDesignReportText(const DesignReport& report, std::ostream& out) {
    out << "Design report:\n";
    for (const std::string& line : DesignReportLines(report))
        out << "  " << line << "\n";
}

} // namespace tarvo::cli
