#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/persist/PersistIssue.h"

namespace Norvane {

class DBConnect;
class PatternList;
using DBConnectPtr = boost::shared_ptr<DBConnect>;
using PatternListPtr = boost::shared_ptr<PatternList>;

// Reads a part's patterns and their relations back from the part database.
//
// Patterns keep their stored identifiers and come in the order the database returns the rows (the order
// they were written in); relations are restored after all patterns, so the order of rows in either table
// does not matter, and every loaded pattern has its cache refreshed and its modified flag cleared.
//
// Rows that cannot be turned into sound geometry are skipped and reported (debug log, and the issue list
// when one is given), never loaded half-right: a row of the wrong width, a column of the wrong kind, a
// non-finite value, an unknown type code, a count beyond kMaxStoredRepeatCount, geometry a drawing
// reader would refuse too (a value beyond the kernel's range, a radius, length or width that is not
// positive, a sweep that is empty or more than a full turn, a flat outside its circle, a corner radius
// too large for its rectangle, an ellipse of no arcs), or a shape whose values turn non-finite once built.
// For relations: a row whose owner is not loaded is skipped; one whose related pattern is not loaded gives
// the owner a relation to no pattern (reported, unless the stored target is 0, which is how such a relation
// is saved); a relation of unknown type, or one that would make an array repeat an
// array (itself included), is skipped, since an array repeating itself would recurse without end.
//
// A failing connection throws its DBException through these functions; they catch nothing.
class GF_API PatternLoader {
public:
    // Appends the stored patterns to list.
    static void LoadPatternList(const DBConnectPtr& db, const PatternListPtr& list);
    // The same, also appending every finding to issues when it is not null.
    static void LoadPatternList(const DBConnectPtr& db, const PatternListPtr& list, PersistIssueList* issues);

private:
    static void LoadPatRelation(const DBConnectPtr& db, const PatternListPtr& list, PersistIssueList* issues);
};

}  // namespace Norvane
