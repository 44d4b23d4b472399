#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2DList.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/viewkit/GlViewPort.h"

namespace Norvane {

class PatternList;
using PatternListPtr = boost::shared_ptr<PatternList>;

// Object snapping while a drawing tool is active. On every mouse move the editor gives it the part's
// patterns and the tool's first entered point (Init) and the cursor (RefreshAssistor); the assistor finds
// the best point near the cursor and keeps the feature points and alignment lines that explain it, for the
// host to draw (DrawAssistInfo) and to read (GetSnapPt).
//
// With d the snap distance (5 device pixels in drawing units), a refresh tries, in order:
// 1. a control point of a pattern within d (inclusive) of the cursor; it wins whatever comes later;
// 2. the crossing, nearest to the cursor, of the lines and arcs lying within d (inclusive) of the cursor;
// 3. alignment lines: through each feature point (the first entered point, the points of steps 1 and 2)
//    whose x lies within d of the cursor's while its y does not, a vertical line towards the cursor; the
//    same crossways for a horizontal line; of each kind the line nearest to the cursor (on equal distances
//    the later candidate); their crossings with the lines and arcs near the cursor and with each other,
//    the nearest being taken when it lies closer than d (strict);
// 4. else the cursor projected onto the first alignment line: a horizontal line gives (cursor x, line y)
//    whichever way it points, a vertical one (line x, cursor y).
// A later step gives the snap point only when no earlier one did. The alignment lines are listed nearest
// first (the vertical one on a tie) and reach 10 device pixels beyond the cursor.
//
// Copies share the viewport, the patterns, the points and the lists.
class GF_API DrawAssistor {
public:
    explicit DrawAssistor(const GlViewPortPtr& viewPort);

    // The patterns to snap to and the tool's first entered point (may be empty).
    void Init(const PatternListPtr& patterns, const Point2DPtr& first);
    // Recomputes everything for the cursor (x, y).
    void RefreshAssistor(double x, double y);
    // The snap point, or empty when nothing snaps.
    Point2DPtr GetSnapPt() const { return m_snapPt; }
    // Empties the feature points and the alignment lines.
    void Reset();
    // Forgets everything a refresh found: Reset, and the snap point too, so that nothing is drawn.
    void Clear();
    // The snap point as a square, the feature points as crosses and the alignment lines dashed, in the
    // control-point colour; the pen is put back. Draws nothing, and leaves the pen alone, when there is
    // nothing to show.
    void DrawAssistInfo() const;

    const Point2DList& GetFeaturePoints() const { return *m_featurePts; }
    const Line2DList& GetAssistLines() const { return *m_assistLines; }
    const GlViewPortPtr& GetViewPort() const { return m_viewPort; }

private:
    Point2DPtr CheckPatCtrlPt();
    Point2DPtr CheckPatCrossPt();
    void CalcAssistLines();
    Point2DPtr CheckAssistLineCrossPt();

    // The snap distance in drawing units.
    double SnapDistance() const;
    // Lists the point as a feature point unless one is already there.
    void AddFeaturePoint(const Point2D& point);
    // The cached lines and arcs of the patterns (seeds left out) within distance of the cursor, in list
    // order.
    Geom2DList LineArcsNearCursor(double distance) const;

    GlViewPortPtr m_viewPort;
    PatternListPtr m_patterns;
    Point2DPtr m_firstPt;
    Point2DPtr m_cursor;
    Point2DPtr m_snapPt;
    Point2DListPtr m_featurePts;
    Line2DListPtr m_assistLines;
    // The lines and arcs near the cursor found in step 2, reused by step 3 of the same refresh.
    boost::shared_ptr<Geom2DList> m_nearGeoms;
};

using DrawAssistorPtr = boost::shared_ptr<DrawAssistor>;

}  // namespace Norvane
