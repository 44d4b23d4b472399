#pragma once

#include <cstddef>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"

namespace Norvane {

// Thrown by a writer whose progress meter was cancelled; the save it belongs to rolls back.
struct SaveCancelled {};

class DBConnect;
class PatLoopList;
class ProgressMeter;
using DBConnectPtr = boost::shared_ptr<DBConnect>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// Writes a part's loops into the part database: one row of geometry_loopData per loop (its identifier
// only) and one row of geometry_loopnodeData per node (node, pattern and loop identifiers, the node's
// position in its loop and its follow flag). Loop kinds, geometry and the boundary flag are not stored;
// the loader derives them again from the nodes and the patterns.
class GF_API PatLoopWriter {
public:
    // Writes every loop in list order and clears the modified flags of the loops, their node lists, their
    // nodes and the list. With a non-zero flag the rows are written as one batch of the connection (begun
    // before the first statement, ended after the last, rolled back when a statement throws). It only
    // inserts: clearing an earlier save's rows is the caller's business.
    //
    // With a progress meter, it counts the loops written (a step each, after stepsBefore already counted of
    // stepsTotal) and throws SaveCancelled, before the next statement, once a cancel was asked.
    static void SavePatLoop(const DBConnectPtr& db, const PatLoopListPtr& loops, int flag,
                            ProgressMeter* progress = nullptr, std::size_t stepsBefore = 0,
                            std::size_t stepsTotal = 0);
};

}  // namespace Norvane
