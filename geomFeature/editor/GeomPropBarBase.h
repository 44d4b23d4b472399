#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/IEditorInfo.h"
#include "geomFeature/host/uikit/XBarBase.h"

namespace Norvane {

// The common base of the module's property bars: a pane whose edits become commands, which carry the
// editor data the bar answers (the window of the drawing view the bar works for, and the editor's name).
class GF_API GeomPropBarBase : public XBarBase, public IEditorInfo {
public:
    GeomPropBarBase(int titleID, int windowID);

    EditorData GetEditorData() const override;
};

}  // namespace Norvane
