#include "geomFeature/editor/GeomPropBarBase.h"

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/host/appframe/ResourceString.h"

namespace Norvane {

GeomPropBarBase::GeomPropBarBase(int titleID, int windowID) : XBarBase(titleID, windowID) {}

EditorData GeomPropBarBase::GetEditorData() const {
    const GlViewPortPtr view = GetRelativeView();
    return EditorData(view ? view->GetWindow() : GetParentWindow(), ResourceString::Load(kResEditorName));
}

}  // namespace Norvane
