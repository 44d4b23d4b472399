#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "geomFeature/host/viewkit/GlViewPort.h"
#include "geomFeature/processor/KerfReport.h"

namespace Norvane {

// geomfeature offset: kerf compensation of a saved part (KerfCompensator). Outer contours and islands
// grow, holes shrink, by half the kerf; what cannot be compensated keeps its drawn geometry and is named in
// a warning (on stderr, one line each; in the JSON under "warnings"). Without an output only the report is
// printed. Throws CliError like the other subcommands.
struct OffsetCommand {
    std::string input;                  // part database
    std::optional<std::string> output;  // compensated part database
    double kerf = 0.0;
    bool force = false;
    bool json = false;
    void Run() const;
};

// One warning about a compensation: what kind, which loop (its index in the part's loop list, as `info`
// numbers loops; -1 for none), where, and the sentence a person reads.
struct KerfWarning {
    std::string kind;  // "left as drawn", "gaps closed", "out of reach", "paths cross", "open"
    long long loop = -1;
    Point2D at;
    std::string text;
};

// The warnings of a report, loop by loop in list order, then the crossings, then one line for all open
// contours.
std::vector<KerfWarning> KerfWarnings(const KerfReport& report);
nlohmann::json KerfReportJson(const KerfReport& report);

// Why a contour could not be offset: a short name as the JSON report gives it ("vanishes", "splits-apart"),
// and the sentence the warnings use, for an offset by distance.
const char* OffsetFailureName(LoopOffsetFailure failure);
std::string OffsetFailureText(LoopOffsetFailure failure, double distance);

// For render --kerf: compensates the part at input for the kerf and draws it over what the view holds:
// the cutter's paths in the selection colour, closed contours left as drawn in the highlight colour. The
// warnings go to stderr.
void DrawKerfPaths(const GlViewPortPtr& view, const std::string& input, double kerf);

}  // namespace Norvane
