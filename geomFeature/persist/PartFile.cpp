#include "geomFeature/persist/PartFile.h"

#include <exception>
#include <utility>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/ProgressMeter.h"
#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/host/datakit/DBException.h"
#include "geomFeature/host/datakit/PartSchema.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/persist/PatLoopLoader.h"
#include "geomFeature/persist/PatLoopWriter.h"
#include "geomFeature/persist/PatternLoader.h"
#include "geomFeature/persist/PatternWriter.h"

namespace Norvane {

namespace {

PartFileResult Failure(tagPartFileStatus status, std::string message) {
    PartFileResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

tagPartFileStatus StatusOfOpenError(const DBException& e) {
    switch (e.GetError()) {
        case tagDBError::NotADatabase:
            return tagPartFileStatus::NotADatabase;
        case tagDBError::Damaged:
            return tagPartFileStatus::Damaged;
        case tagDBError::IoError:
            return tagPartFileStatus::ReadFailed;
        default:
            return tagPartFileStatus::CannotOpen;
    }
}

// The modified flags a save clears, kept so that a save that does not commit can put them back. Each
// object's own flag is kept (not IsModified, which lists and loops widen to their members).
class ModifiedFlags {
public:
    ModifiedFlags(const PatternListPtr& patterns, const PatLoopListPtr& loops) {
        if (patterns) {
            Keep(patterns.get());
            for (const IPatternPtr& pattern : *patterns) {
                Keep(pattern.get());
            }
        }
        if (loops) {
            Keep(loops.get());
            for (const IPatLoopPtr& loop : *loops) {
                Keep(loop.get());
                const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
                if (!nodes) {
                    continue;
                }
                Keep(nodes.get());
                for (const PatLoopNodePtr& node : *nodes) {
                    Keep(node.get());
                }
            }
        }
    }

    void Restore() const {
        for (const auto& [object, flag] : m_flags) {
            object->SetModified(flag);
        }
    }

private:
    void Keep(IData* object) {
        if (object) {
            const auto* base = dynamic_cast<const DataBase*>(object);
            m_flags.emplace_back(object, base ? base->DataBase::IsModified() : object->IsModified());
        }
    }

    // The lists given to the save keep every object alive until the save returns.
    std::vector<std::pair<IData*, int>> m_flags;
};

// Thrown by the save when its hook asks it to stop.
struct SaveStopped {
    tagPartSaveStage stage;
};

const char* StageName(tagPartSaveStage stage) {
    switch (stage) {
        case tagPartSaveStage::OldRowsDeleted:
            return "after deleting the earlier rows";
        case tagPartSaveStage::PatternsWritten:
            return "after writing the patterns";
        case tagPartSaveStage::LoopsWritten:
            return "after writing the loops";
    }
    return "";
}

void CallHook(const PartSaveHook& hook, tagPartSaveStage stage) {
    if (hook && hook(stage) == 0) {
        throw SaveStopped{stage};
    }
}

// Loaded arrays and seeds hold each other through their relations; patterns that are thrown away must
// have the links cut or they keep each other alive.
void ReleaseLinks(const PatternList& patterns) {
    for (const IPatternPtr& pattern : patterns) {
        if (pattern) {
            pattern->GetPatRelationList()->Clear();
        }
    }
}

// "3 rows cannot be loaded soundly; first: <table> row <n>: <message>" for the issues of that severity.
std::string Describe(const PersistIssueList& issues, tagPersistSeverity severity, const char* what) {
    std::size_t count = 0;
    const PersistIssue* first = nullptr;
    for (const PersistIssue& issue : issues) {
        if (issue.severity == severity) {
            first = first ? first : &issue;
            ++count;
        }
    }
    if (!first) {
        return std::string();
    }
    return std::to_string(count) + (count == 1 ? " row " : " rows ") + what + "; first: " + first->table +
           " row " + std::to_string(first->row) + ": " + first->message;
}

}  // namespace

PartFileResult PartFile::Save(const std::string& path, const PatternListPtr& patterns,
                              const PatLoopListPtr& loops, const PartSaveHook& hook,
                              ProgressMeter* progress) {
    DBConnectPtr db;
    try {
        db = boost::make_shared<DBConnect>(path, tagDBOpenMode::OpenOrCreate);
    } catch (const DBException& e) {
        return Failure(StatusOfOpenError(e), e.GetDetail());
    }
    return Save(db, patterns, loops, hook, progress);
}

PartFileResult PartFile::Save(const DBConnectPtr& db, const PatternListPtr& patterns,
                              const PatLoopListPtr& loops, const PartSaveHook& hook,
                              ProgressMeter* progress) {
    if (!db) {
        return Failure(tagPartFileStatus::CannotOpen, "no database to save to");
    }
    const ModifiedFlags flags(patterns, loops);
    try {
        // A table of the wrong width means the file holds something else than a part: refuse before
        // touching it. Missing tables are simply created (a new file).
        bool missingOnly = false;
        const std::string problem = PartSchema::FindProblem(*db, &missingOnly);
        if (!problem.empty() && !missingOnly) {
            return Failure(tagPartFileStatus::BadTable, "holds something else than a part: " + problem);
        }
        db->BeginBatch();
        PartSchema::CreateMissingTables(*db);
        db->Execute(
            "delete from geometry_patternData; delete from geometry_patrelation; "
            "delete from geometry_loopData; delete from geometry_loopnodeData;",
            0);
        CallHook(hook, tagPartSaveStage::OldRowsDeleted);
        const std::size_t patternCount = patterns ? patterns->size() : 0;
        const std::size_t steps = patternCount + (loops ? loops->size() : 0);
        if (patterns) {
            const auto writer = boost::make_shared<PatternWriter>(db);
            for (std::size_t i = 0; i < patternCount; ++i) {
                if (progress && !progress->Step(i, steps)) {
                    throw SaveCancelled();
                }
                if ((*patterns)[i]) {
                    (*patterns)[i]->Accept(writer);
                }
            }
        }
        CallHook(hook, tagPartSaveStage::PatternsWritten);
        PatLoopWriter::SavePatLoop(db, loops, 0, progress, patternCount,
                                   steps);  // inside this save's own batch
        CallHook(hook, tagPartSaveStage::LoopsWritten);
        db->EndBatch();
    } catch (const SaveCancelled&) {
        db->RollbackBatch();
        flags.Restore();
        return Failure(tagPartFileStatus::Interrupted,
                       "save to '" + db->GetPath() + "' cancelled; the earlier content is kept");
    } catch (const SaveStopped& stop) {
        db->RollbackBatch();
        flags.Restore();
        return Failure(
            tagPartFileStatus::Interrupted,
            std::string("save interrupted ") + StageName(stop.stage) + "; the earlier content is kept");
    } catch (const DBException& e) {
        db->RollbackBatch();
        flags.Restore();
        return Failure(tagPartFileStatus::WriteFailed, e.GetDetail() + "; the earlier content is kept");
    } catch (const std::exception& e) {
        db->RollbackBatch();
        flags.Restore();
        return Failure(tagPartFileStatus::Interrupted,
                       std::string("save interrupted: ") + e.what() + "; the earlier content is kept");
    }
    if (patterns) {
        patterns->SetModified(0);
    }
    return PartFileResult();
}

PartFileResult PartFile::Load(const std::string& path, const PatternListPtr& patterns,
                              const PatLoopListPtr& loops, tagPartLoadPolicy policy) {
    DBConnectPtr db;
    try {
        db = boost::make_shared<DBConnect>(path, tagDBOpenMode::OpenExisting);
    } catch (const DBException& e) {
        return Failure(StatusOfOpenError(e), e.GetDetail());
    }
    return Load(db, patterns, loops, policy);
}

PartFileResult PartFile::Load(const DBConnectPtr& db, const PatternListPtr& patterns,
                              const PatLoopListPtr& loops, tagPartLoadPolicy policy) {
    if (!db) {
        return Failure(tagPartFileStatus::CannotOpen, "no database to load from");
    }
    const auto loadedPatterns = boost::make_shared<PatternList>();
    const auto loadedLoops = boost::make_shared<PatLoopList>();
    PartFileResult result;
    try {
        bool missingOnly = false;
        const std::string problem = PartSchema::FindProblem(*db, &missingOnly);
        if (!problem.empty()) {
            return Failure(missingOnly ? tagPartFileStatus::MissingTable : tagPartFileStatus::BadTable,
                           "not a part file: " + problem);
        }
        PatternLoader::LoadPatternList(db, loadedPatterns, &result.issues);
        if (loops) {
            PatLoopLoader::LoadPatLoops(db, loadedPatterns, loadedLoops, &result.issues);
        }
    } catch (const DBException& e) {
        ReleaseLinks(*loadedPatterns);
        const tagPartFileStatus status = StatusOfOpenError(e);
        return Failure(status == tagPartFileStatus::CannotOpen ? tagPartFileStatus::ReadFailed : status,
                       e.GetDetail());
    }
    const std::string errors = Describe(result.issues, tagPersistSeverity::Error, "cannot be loaded soundly");
    if (!errors.empty() && policy == tagPartLoadPolicy::Strict) {
        ReleaseLinks(*loadedPatterns);
        result.status = tagPartFileStatus::BadData;
        result.message = errors + "; nothing loaded";
        return result;
    }
    result.message = errors.empty()
                         ? Describe(result.issues, tagPersistSeverity::Warning, "loaded with a warning")
                         : errors + "; left out";
    if (!patterns) {
        ReleaseLinks(*loadedPatterns);
        return result;
    }
    patterns->AddPatterns(loadedPatterns);
    patterns->SetModified(0);
    if (loops) {
        const bool hadLoops = !loops->empty();
        loops->insert(loops->end(), loadedLoops->begin(), loadedLoops->end());
        if (hadLoops) {
            loops->UpdateBoundaryLoop();
        }
        loops->SetModified(0);
    }
    return result;
}

}  // namespace Norvane
