#pragma once

#include <functional>
#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/persist/PartFileResult.h"

namespace Norvane {

class DBConnect;
class ProgressMeter;
class PatternList;
class PatLoopList;
using DBConnectPtr = boost::shared_ptr<DBConnect>;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// Points of a save at which the save hook is called, in this order.
enum class tagPartSaveStage : int {
    OldRowsDeleted,   // the earlier part's rows are deleted (inside the transaction)
    PatternsWritten,  // the pattern and relation rows are written
    LoopsWritten,     // the loop and node rows are written; the commit comes next
};

// Called at each stage of a save; answering 0 (or throwing) stops the save, which is then rolled back.
// Tests use it to prove that an interrupted save leaves the earlier part in the file.
using PartSaveHook = std::function<int(tagPartSaveStage stage)>;

// What a load does with rows it cannot load soundly.
enum class tagPartLoadPolicy : int {
    Strict,       // any such row fails the load and nothing is added to the lists
    SkipBadRows,  // such rows are left out (and reported in the result's issues); the rest is loaded
};

// A part stored in its own database file. A save replaces the previous content of the file in ONE
// transaction (delete the old rows, write the new ones, commit), so a save that fails or is interrupted at
// any point, the process dying included, leaves the earlier part in the file, loadable as it was.
//
// Errors come back in the result, never as exceptions; messages do not name the file (the caller does).
// Loading is strict by default: a file that is not a database, is a damaged one, lacks a table, has a table
// of the wrong width, or holds a row that cannot be turned into sound geometry (the errors listed by
// PatternLoader and PatLoopLoader) is refused with a message, and the lists are left as they were. Warnings
// (a loop without nodes, loaded as an empty polygon loop; node rows of a loop that does not exist, ignored)
// do not fail a load; they are listed in the result.
//
// After a successful save every saved object's modified flag is cleared; after a failed one the flags are
// as they were before, so the part still counts as unsaved.
class GF_API PartFile {
public:
    // Saves to the file at path, creating it and its tables when needed. loops may be empty (no loop rows).
    // With a progress meter, the save reports the patterns and loops written within the meter's current
    // stage, and a cancel asked there rolls it back (status Interrupted), leaving the earlier content.
    static PartFileResult Save(const std::string& path, const PatternListPtr& patterns,
                               const PatLoopListPtr& loops, const PartSaveHook& hook = PartSaveHook(),
                               ProgressMeter* progress = nullptr);
    // Saves through an open connection (":memory:" included). The connection must not be inside a batch.
    static PartFileResult Save(const DBConnectPtr& db, const PatternListPtr& patterns,
                               const PatLoopListPtr& loops, const PartSaveHook& hook = PartSaveHook(),
                               ProgressMeter* progress = nullptr);

    // Loads the part in the file at path, appending its patterns and loops to the lists. With an empty loops
    // pointer the loop tables are not read. When loops already held loops, the boundary loop is chosen again
    // over the whole list.
    static PartFileResult Load(const std::string& path, const PatternListPtr& patterns,
                               const PatLoopListPtr& loops,
                               tagPartLoadPolicy policy = tagPartLoadPolicy::Strict);
    static PartFileResult Load(const DBConnectPtr& db, const PatternListPtr& patterns,
                               const PatLoopListPtr& loops,
                               tagPartLoadPolicy policy = tagPartLoadPolicy::Strict);
};

}  // namespace Norvane
