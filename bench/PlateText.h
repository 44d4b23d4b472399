#pragma once

// Reads the text form of a generated plate (bench/gen_plate.py): one piece per line, "L x1 y1 x2 y2" or
// "A cx cy r start sweep" (radians, signed sweep); '#' starts a comment.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <boost/make_shared.hpp>

#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {
namespace bench {

// The plate's pieces as loose line and arc patterns (caches not filled), or empty when the file cannot be
// opened.
inline PatternListPtr ReadPlate(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return nullptr;
    }
    auto patterns = boost::make_shared<PatternList>();
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        char kind = 0;
        fields >> kind;
        if (kind == 'L') {
            double x1, y1, x2, y2;
            if (fields >> x1 >> y1 >> x2 >> y2)
                patterns->push_back(boost::make_shared<LinePattern>(Point2D(x1, y1), Point2D(x2, y2)));
        } else if (kind == 'A') {
            double cx, cy, r, start, sweep;
            if (fields >> cx >> cy >> r >> start >> sweep)
                patterns->push_back(boost::make_shared<ArcPattern>(Point2D(cx, cy), r, start, sweep));
        }
    }
    return patterns;
}

}  // namespace bench
}  // namespace Norvane
