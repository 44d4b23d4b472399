#include "geomFeature/persist/PatLoopWriter.h"

#include "geomFeature/host/appframe/ProgressMeter.h"
#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/host/datakit/DBStatement.h"
#include "geomFeature/loop/PatLoopList.h"

namespace Norvane {

namespace {

// Both inserts are compiled once and run with bound values; the rows are those of the statement texts
// "insert into geometry_loopData values (%I64d);" and
// "insert into geometry_loopnodeData values (%I64d, %I64d, %I64d, %d, %d);" with the values printed in.
void WriteLoops(DBConnect& db, PatLoopList& loops, ProgressMeter* progress, std::size_t stepsBefore,
                std::size_t stepsTotal) {
    const DBStatementPtr loopInsert = db.Prepare("insert into geometry_loopData values (?);");
    const DBStatementPtr nodeInsert = db.Prepare("insert into geometry_loopnodeData values (?, ?, ?, ?, ?);");
    std::size_t step = stepsBefore;
    for (const IPatLoopPtr& loop : loops) {
        if (progress && !progress->Step(step++, stepsTotal)) {
            throw SaveCancelled();
        }
        const DataID loopID = loop->GetID();
        loopInsert->BindInt64(1, loopID);
        loopInsert->Execute();
        loop->SetModified(0);
        const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
        if (!nodes) {
            continue;
        }
        int index = 0;
        for (const PatLoopNodePtr& node : *nodes) {
            // A node without a pattern is stored with pattern 0, which names no pattern: the loader
            // reports it instead of guessing.
            const DataID patternID = node->GetPat() ? node->GetPat()->GetID() : 0;
            nodeInsert->BindInt64(1, node->GetID());
            nodeInsert->BindInt64(2, patternID);
            nodeInsert->BindInt64(3, loopID);
            nodeInsert->BindInt64(4, index);
            nodeInsert->BindInt64(5, node->FollowLoopDir());
            nodeInsert->Execute();
            node->SetModified(0);
            ++index;
        }
        nodes->SetModified(0);
    }
    loops.SetModified(0);
}

}  // namespace

void PatLoopWriter::SavePatLoop(const DBConnectPtr& db, const PatLoopListPtr& loops, int flag,
                                ProgressMeter* progress, std::size_t stepsBefore, std::size_t stepsTotal) {
    if (!loops) {
        return;
    }
    if (flag == 0) {
        WriteLoops(*db, *loops, progress, stepsBefore, stepsTotal);
        return;
    }
    db->BeginBatch();
    try {
        WriteLoops(*db, *loops, progress, stepsBefore, stepsTotal);
        db->EndBatch();
    } catch (...) {
        db->RollbackBatch();
        throw;
    }
}

}  // namespace Norvane
