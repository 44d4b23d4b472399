#pragma once

#include <utility>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/datakit/DBField.h"

namespace Norvane {

using DBFieldList = std::vector<DBFieldPtr>;

// One row of a select, its fields in column order. Rows are addressed by position, never by name.
class DBRecord {
public:
    DBRecord() = default;
    explicit DBRecord(DBFieldList fields) : m_fields(std::move(fields)) {}

    const DBFieldList& GetDBFieldList() const { return m_fields; }

private:
    DBFieldList m_fields;
};

using DBRecordPtr = boost::shared_ptr<DBRecord>;

}  // namespace Norvane
