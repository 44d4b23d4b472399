#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/IPatternVisitor.h"

namespace Norvane {

class DBConnect;
class DBStatement;
class IPattern;
using DBConnectPtr = boost::shared_ptr<DBConnect>;
using DBStatementPtr = boost::shared_ptr<DBStatement>;

// Writes patterns into the part database: one row of geometry_patternData per pattern and one row of
// geometry_patrelation per relation it holds. The host applies it to every pattern of a part with
// Accept. It only inserts: clearing the rows of an earlier save is the caller's business, as is the
// transaction around the whole save. A failing statement throws the connection's DBException.
//
// Each Visit writes the pattern's row, then its relations, and clears the pattern's modified flag.
//
// The two insert statements are compiled once per writer and run with bound values. The rows are those the
// statement texts with the values printed in ("%.16f" for the reals) would store: each real is bound as that
// very text, which the table's real columns turn into a number as they would a literal. A non-finite real,
// which printed into a statement would be a syntax error, fails the write the same way.
class GF_API PatternWriter : public IPatternVisitor {
public:
    explicit PatternWriter(const DBConnectPtr& db);

    void Visit(const boost::shared_ptr<RadSlotPattern>& pattern) override;
    void Visit(const boost::shared_ptr<OBroundPattern>& pattern) override;
    void Visit(const boost::shared_ptr<TRHolePattern>& pattern) override;
    void Visit(const boost::shared_ptr<PatGridPattern>& pattern) override;
    void Visit(const boost::shared_ptr<PatCirclePattern>& pattern) override;
    void Visit(const boost::shared_ptr<PatArcPattern>& pattern) override;
    void Visit(const boost::shared_ptr<PatLinePattern>& pattern) override;
    void Visit(const boost::shared_ptr<DoubleDPattern>& pattern) override;
    void Visit(const boost::shared_ptr<SingleDPattern>& pattern) override;
    void Visit(const boost::shared_ptr<RCHolePattern>& pattern) override;
    void Visit(const boost::shared_ptr<RectHolePattern>& pattern) override;
    void Visit(const boost::shared_ptr<CirclePattern>& pattern) override;
    void Visit(const boost::shared_ptr<EllipsePattern>& pattern) override;
    void Visit(const boost::shared_ptr<ArcPattern>& pattern) override;
    void Visit(const boost::shared_ptr<LinePattern>& pattern) override;

private:
    template <class Shape>
    void Write(const boost::shared_ptr<Shape>& pattern);
    // One row per relation of the pattern: the relation's id, its parent, the related pattern, the type.
    void SavePatRelation(const boost::shared_ptr<IPattern>& pattern);

    DBConnectPtr m_db;
    DBStatementPtr m_patternInsert;  // prepared on first use
    DBStatementPtr m_relationInsert;
};

}  // namespace Norvane
