#pragma once

#include <mutex>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/optkit/DisplayParam.h"
#include "geomFeature/host/optkit/ImpExpConfig.h"

namespace Norvane {

// The user's options (one store per process).
//
// The getters hand out the current option objects. Code on the user-interface thread may change their
// fields in place. To change options while a background task may read them, publish a new object with a
// setter instead: the task keeps reading the object it already holds, and later readers see the new one.
class NVOptionInfo {
public:
    static NVOptionInfo* GetInstance();

    boost::shared_ptr<DisplayParam> GetDisplayParam();
    boost::shared_ptr<ImpExpConfig> GetImpExpConfig();

    // Replace the current option objects by copies of `param` / `config`.
    void SetDisplayParam(const DisplayParam& param);
    void SetImpExpConfig(const ImpExpConfig& config);
    // Back to the built-in defaults.
    void ResetToDefaults();

private:
    NVOptionInfo();

    std::mutex m_mutex;  // guards the two pointers, not the objects behind them
    boost::shared_ptr<DisplayParam> m_displayParam;
    boost::shared_ptr<ImpExpConfig> m_impExpConfig;
};

}  // namespace Norvane
