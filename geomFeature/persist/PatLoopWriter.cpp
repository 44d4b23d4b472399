#include "geomFeature/persist/PatLoopWriter.h"

#include <cinttypes>

#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/persist/detail/SqlText.h"

namespace Norvane {

namespace {

void WriteLoops(DBConnect& db, PatLoopList& loops) {
    for (const IPatLoopPtr& loop : loops) {
        const DataID loopID = loop->GetID();
        db.Execute(detail::SqlFormat("insert into geometry_loopData values (%" PRId64 ");", loopID), 0);
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
            db.Execute(detail::SqlFormat("insert into geometry_loopnodeData values (%" PRId64 ", %" PRId64
                                         ", %" PRId64 ", %d, %d);",
                                         node->GetID(), patternID, loopID, index, node->FollowLoopDir()),
                       0);
            node->SetModified(0);
            ++index;
        }
        nodes->SetModified(0);
    }
    loops.SetModified(0);
}

}  // namespace

void PatLoopWriter::SavePatLoop(const DBConnectPtr& db, const PatLoopListPtr& loops, int flag) {
    if (!loops) {
        return;
    }
    if (flag == 0) {
        WriteLoops(*db, *loops);
        return;
    }
    db->BeginBatch();
    try {
        WriteLoops(*db, *loops);
        db->EndBatch();
    } catch (...) {
        db->RollbackBatch();
        throw;
    }
}

}  // namespace Norvane
