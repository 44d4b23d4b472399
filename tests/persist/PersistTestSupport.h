#pragma once

#include <unistd.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/host/datakit/PartSchema.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/IGeom2D.h"
#include "geomFeature/pattern/IPattern.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace persisttest {

// A file name in the temporary folder, unique to this process and object; the file and its journal are
// removed when the object goes.
class TempPath {
public:
    TempPath() {
        static std::atomic<int> counter{0};
        m_path = (std::filesystem::temp_directory_path() /
                  ("gf_persist_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + ".db"))
                     .string();
    }
    ~TempPath() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
        std::filesystem::remove(m_path + "-journal", ignored);
    }
    TempPath(const TempPath&) = delete;
    TempPath& operator=(const TempPath&) = delete;
    const std::string& str() const { return m_path; }

private:
    std::string m_path;
};

// An in-memory database with the four part tables.
inline DBConnectPtr MemoryPart() {
    auto db = boost::make_shared<DBConnect>(":memory:");
    PartSchema::CreateMissingTables(*db);
    return db;
}

inline int CountRows(const DBConnectPtr& db, const std::string& table) {
    const DBResultPtr result = db->ExecuteQuery("select count(*) from " + table + ";");
    return static_cast<int>(db->GetNextRecord(result)->GetDBFieldList()[0]->GetInt64());
}

// Same outline: as many elements, each of the same kind with ends within tol.
inline ::testing::AssertionResult SameOutline(const IPatternPtr& actual, const IPatternPtr& expected,
                                              double tol = 1e-9) {
    const Geom2DListPtr a = actual->CalcBaseGeomList();
    const Geom2DListPtr e = expected->CalcBaseGeomList();
    bool same = a->size() == e->size();
    for (std::size_t i = 0; same && i < e->size(); ++i) {
        same = (*a)[i]->GetGeomType() == (*e)[i]->GetGeomType() &&
               testutil::PointNear((*a)[i]->GetStartPoint(), (*e)[i]->GetStartPoint(), tol) &&
               testutil::PointNear((*a)[i]->GetEndPoint(), (*e)[i]->GetEndPoint(), tol);
        if (!same) {
            return ::testing::AssertionFailure() << "outline element " << i << " differs";
        }
    }
    return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "outline sizes differ";
}

}  // namespace persisttest
}  // namespace Norvane
