#include "geomFeature/persist/PatternWriter.h"

#include <cmath>
#include <string>

#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/host/datakit/DBException.h"
#include "geomFeature/host/datakit/DBStatement.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatArcPattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatRelation.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/persist/detail/PatternRow.h"
#include "geomFeature/persist/detail/SqlText.h"

namespace Norvane {

namespace {

constexpr const char* kPatternInsert =
    "insert into geometry_patternData values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
constexpr const char* kRelationInsert = "insert into geometry_patrelation values (?, ?, ?, ?);";

}  // namespace

PatternWriter::PatternWriter(const DBConnectPtr& db) : m_db(db) {}

template <class Shape>
void PatternWriter::Write(const boost::shared_ptr<Shape>& pattern) {
    const detail::PatternRow row = detail::RowOf(*pattern);
    if (!m_patternInsert) {
        m_patternInsert = m_db->Prepare(kPatternInsert);
    }
    DBStatement& insert = *m_patternInsert;
    insert.BindInt64(1, row.id);
    insert.BindInt64(2, static_cast<int>(row.type));
    char text[8][detail::kRealTextSize];  // bound without copying: they must live until Execute
    for (int k = 0; k < 8; ++k) {
        if (!std::isfinite(row.real[k])) {
            throw DBException(tagDBError::SqlError, "statement failed in '" + m_db->GetPath() +
                                                        "': pattern " + std::to_string(row.id) +
                                                        " has a value that is not a number");
        }
        insert.BindText(3 + k, text[k], detail::FormatReal16(row.real[k], text[k]));
    }
    insert.BindInt64(11, row.integer[0]);
    insert.BindInt64(12, row.integer[1]);
    insert.Execute();
    SavePatRelation(pattern);
    pattern->SetModified(0);
}

void PatternWriter::SavePatRelation(const boost::shared_ptr<IPattern>& pattern) {
    const PatRelationListPtr relations = pattern->GetPatRelationList();
    const int count = relations ? relations->GetCount() : 0;
    for (int i = 0; i < count; ++i) {
        const PatRelationPtr relation = relations->GetPatRelationByIndex(i);
        const IPatternPtr& target = relation->GetTargetPat();
        // A relation whose far end is gone is stored with target 0, which names no pattern; the loader
        // reports it rather than linking to a stranger.
        const DataID targetID = target ? target->GetID() : 0;
        if (!m_relationInsert) {
            m_relationInsert = m_db->Prepare(kRelationInsert);
        }
        DBStatement& insert = *m_relationInsert;
        insert.BindInt64(1, relation->GetID());
        insert.BindInt64(2, relation->GetParentID());
        insert.BindInt64(3, targetID);
        insert.BindInt64(4, static_cast<int>(relation->GetRelationType()));
        insert.Execute();
    }
}

void PatternWriter::Visit(const boost::shared_ptr<RadSlotPattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<OBroundPattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<TRHolePattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<PatGridPattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<PatCirclePattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<PatArcPattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<PatLinePattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<DoubleDPattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<SingleDPattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<RCHolePattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<RectHolePattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<CirclePattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<EllipsePattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<ArcPattern>& pattern) {
    Write(pattern);
}
void PatternWriter::Visit(const boost::shared_ptr<LinePattern>& pattern) {
    Write(pattern);
}

}  // namespace Norvane
