#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"

namespace Norvane {

class DBConnect;
class PatLoopList;
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
    static void SavePatLoop(const DBConnectPtr& db, const PatLoopListPtr& loops, int flag);
};

}  // namespace Norvane
