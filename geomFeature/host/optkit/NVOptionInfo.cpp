#include "geomFeature/host/optkit/NVOptionInfo.h"

#include <boost/make_shared.hpp>

namespace Norvane {

NVOptionInfo* NVOptionInfo::GetInstance() {
    static NVOptionInfo instance;
    return &instance;
}

NVOptionInfo::NVOptionInfo()
    : m_displayParam(boost::make_shared<DisplayParam>()),
      m_impExpConfig(boost::make_shared<ImpExpConfig>()) {}

boost::shared_ptr<DisplayParam> NVOptionInfo::GetDisplayParam() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_displayParam;
}

boost::shared_ptr<ImpExpConfig> NVOptionInfo::GetImpExpConfig() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_impExpConfig;
}

void NVOptionInfo::SetDisplayParam(const DisplayParam& param) {
    auto fresh = boost::make_shared<DisplayParam>(param);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_displayParam = fresh;
}

void NVOptionInfo::SetImpExpConfig(const ImpExpConfig& config) {
    auto fresh = boost::make_shared<ImpExpConfig>(config);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_impExpConfig = fresh;
}

void NVOptionInfo::ResetToDefaults() {
    SetDisplayParam(DisplayParam());
    SetImpExpConfig(ImpExpConfig());
}

}  // namespace Norvane
