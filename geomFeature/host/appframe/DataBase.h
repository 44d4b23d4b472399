#pragma once

#include "geomFeature/host/appframe/IData.h"

namespace Norvane {

// The common identity part of persistent objects.
//
// A default-constructed object draws a fresh identifier from a process-wide counter; the counter is atomic,
// so objects may be built on several threads at once (the loop optimisation task builds patterns on its
// worker). Objects loaded from a database get their stored identifier through SetID or the id constructor,
// and the counter is moved past it so that objects made after a load never collide with loaded ones.
//
// Copying copies the identifier: a copy made with the copy constructor is the same object in another place
// (for example a loop sharing its node list). Clone implementations decide whether a clone keeps the id.
class DataBase : public virtual IData {
public:
    DataBase();
    explicit DataBase(DataID id);
    ~DataBase() override = default;

    DataID GetID() const override { return m_id; }
    void SetID(DataID id) override;
    void SetParentID(DataID id) override { m_parentID = id; }
    DataID GetParentID() const override { return m_parentID; }
    int IsModified() const override { return m_modified; }
    void SetModified(int modified) override { m_modified = modified; }
    int IDEqual(DataID id) const override { return m_id == id ? 1 : 0; }
    // No editable values by default.
    DataProperty GetProperty() const override;
    // Nothing to apply by default.
    void UpdateProperty(DataPropItem& item) override;

    // The next unique identifier (thread-safe). Identifiers start at 1 and only grow.
    static DataID NewID();
    // Makes sure that NewID never returns `id` or anything below it from now on (thread-safe).
    static void ReserveID(DataID id);

protected:
    DataID m_id;
    DataID m_parentID = 0;
    int m_modified = 0;
};

}  // namespace Norvane
