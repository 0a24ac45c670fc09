#pragma once
// The Estimate Order dialog's rules: the request it starts from, reading its
// fields, the texts of its rows; and the stopband edges an estimate leaves for
// the design report while the design it produced stays.

#include "design/design_report.h"
#include "design/iir_spec.h"
#include "design/order_estimate.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tarvo {

// The dialog's number fields, in the order they are read.
enum EstimateField : std::int32_t {
    kEstimatePass1,
    kEstimatePass2,
    kEstimateStop1,
    kEstimateStop2,
    kEstimateRipple,
    kEstimateAtten,
    kEstimateFieldCount,
};

// What the dialog starts from when the project has no request of its own yet:
// the form's response, its band edges as the passband, stopband edges a quarter
// of the way further out (inside for a bandstop), and its ripple and attenuation.
OrderRequest DefaultOrderRequest(const IirDesignSpec& spec, double fs);

// The labels of the fields; the second edges only count for bands.
std::string_view EstimateFieldLabel(std::int32_t field);
bool EstimateFieldEnabled(std::int32_t field, std::int32_t response);
// The texts the fields show for a request.
std::array<std::string, kEstimateFieldCount> EstimateFieldTexts(const OrderRequest& request);

// The fields read into a request, or the message of the first field that does
// not hold a number (fields that do not count are not read).
struct EstimateInput {
    std::optional<OrderRequest> request;
    std::string message;
};
EstimateInput ReadEstimateFields(std::int32_t response, double fs,
                                 const std::array<std::string, kEstimateFieldCount>& texts);

// A row of the dialog: the order ("-" when the family cannot make it) and the
// form edges with the unit ("8.1234 kHz", "8.1 to 9.9 kHz"), or why not.
std::string EstimateOrderText(const FamilyOrder& family);
std::string EstimateEdgesText(const FamilyOrder& family, std::int32_t response,
                              const std::string& unit);

// The form as Use left it and the stopband edges of its request: the report
// measures the attenuation beyond them while the design keeps that shape.
struct EstimatedDesign {
    IirDesignSpec spec;
    ReportBands bands;
};
EstimatedDesign MakeEstimatedDesign(const IirDesignSpec& form, const OrderRequest& request);
// The bands for the report of a design: the estimate's when the design has its
// family, response, order and edges, none otherwise.
ReportBands ReportBandsFor(const IirDesignSpec& designed,
                           const std::optional<EstimatedDesign>& estimated);

} // namespace tarvo
