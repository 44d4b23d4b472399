// gf_demo: builds a few line and arc patterns, refreshes their caches and prints, for each, its type,
// bounding box, snap points and distances to some query points.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"

using namespace Norvane;

namespace {

constexpr int kExitUsage = 64;

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: gf_demo [--point X Y]... [--help]\n"
                 "\n"
                 "Builds five patterns - two lines, a quarter arc, a full-circle arc and a mirrored copy of\n"
                 "the quarter arc - refreshes their geometry caches and prints one table row per pattern:\n"
                 "its type code and name, the sweep of arcs in degrees (negative = clockwise), its bounding\n"
                 "box (left, right, bottom, top), the distance to each query point and its snap points.\n"
                 "\n"
                 "  --point X Y   use this query point (repeatable); default points are (0, 0) and (8, 6)\n"
                 "  --help        show this text\n");
}

struct Sample {
    std::string label;
    IPatternPtr pattern;
};

std::string Fmt(double v) {
    if (v == 0.0) v = 0.0;  // print -0 as 0
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return buf;
}

std::string FmtPoint(const Point2D& p) { return "(" + Fmt(p.x) + ", " + Fmt(p.y) + ")"; }

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::vector<Sample> BuildSamples() {
    std::vector<Sample> samples;
    samples.push_back({"line (0,0)-(10,0)", boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(10, 0))});
    samples.push_back({"line (2,1)-(5,5)", boost::make_shared<LinePattern>(Point2D(2, 1), Point2D(5, 5))});

    auto quarter = boost::make_shared<ArcPattern>(Point2D(5, 5), 3.0, 0.0, MathEx::PI / 2);
    samples.push_back({"arc c(5,5) r3 0..90", quarter});
    samples.push_back({"full circle c(0,10) r2", boost::make_shared<ArcPattern>(Point2D(0, 10), 2.0, 0.0, MathEx::PI2)});

    // The mirror image of the quarter arc about the vertical line x = 10: a mirror reverses the sweep.
    auto mirrored = boost::dynamic_pointer_cast<ArcPattern>(quarter->Clone());
    Matrix2D mirror;
    mirror.Mirror(Point2D(10, 0), Vector2D(0, 1));
    mirrored->Transform(mirror);
    samples.push_back({"quarter arc mirrored x=10", mirrored});

    for (Sample& s : samples) s.pattern->UpdateCache();
    return samples;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Point2D> queries;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintUsage(stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--point") == 0 && i + 2 < argc) {
            char* endX = nullptr;
            char* endY = nullptr;
            const double x = std::strtod(argv[i + 1], &endX);
            const double y = std::strtod(argv[i + 2], &endY);
            if (*endX == '\0' && *endY == '\0' && endX != argv[i + 1] && endY != argv[i + 2]) {
                queries.emplace_back(x, y);
                i += 2;
                continue;
            }
        }
        std::fprintf(stderr, "gf_demo: bad argument '%s'\n\n", argv[i]);
        PrintUsage(stderr);
        return kExitUsage;
    }
    if (queries.empty()) queries = {Point2D(0, 0), Point2D(8, 6)};

    const std::vector<Sample> samples = BuildSamples();

    std::printf("Line and arc patterns (caches refreshed). Query points:");
    for (std::size_t q = 0; q < queries.size(); ++q) std::printf("  P%zu = %s", q + 1, FmtPoint(queries[q]).c_str());
    std::printf("\n\n");

    std::printf("%-2s  %-26s %-4s %-5s %8s  %-34s", "#", "pattern", "code", "type", "sweep", "box (left, right, bottom, top)");
    for (std::size_t q = 0; q < queries.size(); ++q) std::printf(" %9s", ("d(P" + std::to_string(q + 1) + ")").c_str());
    std::printf("  snap points\n");
    std::printf("%s\n", std::string(86 + 10 * queries.size() + 13, '-').c_str());

    int row = 1;
    for (const Sample& s : samples) {
        const IPatternPtr& p = s.pattern;
        const std::string typeName = Narrow(p->GetProperty().GetItems().at(0).GetString());
        std::string sweep = "-";
        if (const auto arc = boost::dynamic_pointer_cast<ArcPattern>(p)) sweep = Fmt(arc->GetMoveAngle() * kDegPerRad);
        const Rect2D box = p->GetCacheData()->GetRect();
        const std::string boxText = "(" + Fmt(box.left) + ", " + Fmt(box.right) + ", " + Fmt(box.bottom) + ", " +
                                    Fmt(box.top) + ")";
        std::printf("%-2d  %-26s %-4d %-5s %8s  %-34s", row++, s.label.c_str(), static_cast<int>(p->GetPatternType()),
                    typeName.c_str(), sweep.c_str(), boxText.c_str());
        for (const Point2D& q : queries) std::printf(" %9s", Fmt(p->DistanceTo(q)).c_str());
        Point2DList snaps;
        p->GetSnapPoints(snaps);
        std::printf(" ");
        for (const Point2D& snap : snaps) std::printf(" %s", FmtPoint(snap).c_str());
        std::printf("\n");
    }
    std::printf("\nSnap points: line = start, middle, end; arc = centre, start, middle, end.\n");
    return 0;
}
