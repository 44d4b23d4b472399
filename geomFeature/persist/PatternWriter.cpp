#include "geomFeature/persist/PatternWriter.h"

#include <cinttypes>

#include "geomFeature/host/datakit/DBConnect.h"
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

PatternWriter::PatternWriter(const DBConnectPtr& db) : m_db(db) {}

template <class Shape>
void PatternWriter::Write(const boost::shared_ptr<Shape>& pattern) {
    m_db->Execute(detail::FormatPatternInsert(detail::RowOf(*pattern)), 0);
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
        m_db->Execute(detail::SqlFormat("insert into geometry_patrelation values (%" PRId64 ", %" PRId64
                                        ", %" PRId64 ", %d);",
                                        relation->GetID(), relation->GetParentID(), targetID,
                                        static_cast<int>(relation->GetRelationType())),
                      0);
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
