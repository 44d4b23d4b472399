#include "geomFeature/editor/PatternPropBar.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <variant>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/EditorTolerance.h"
#include "geomFeature/editor/PatPropEditCommand.h"
#include "geomFeature/editor/detail/CommandSupport.h"
#include "geomFeature/editor/detail/ShapeCheck.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/host/uikit/XMessageBox.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/pattern/PatternPropID.h"

namespace Norvane {

namespace {

// The name each kind is listed under in the summary of several patterns.
struct KindName {
    tagPatternType type;
    int nameID;
};
constexpr KindName kKindNames[] = {
    {PAT_LINE, kResLineTypeName},
    {PAT_ARC, kResArcTypeName},
    {PAT_RECT_HOLE, kResRectHoleTypeName},
    {PAT_TR_HOLE, kResTRHoleTypeName},
    {PAT_CIRCLE, kResCircleTypeName},
    {PAT_OBROUND, kResOBroundTypeName},
    {PAT_ELLIPSE, kResEllipseTypeName},
    {PAT_SINGLE_D, kResSingleDTypeName},
    {PAT_DOUBLE_D, kResDoubleDTypeName},
    {PAT_RC_HOLE, kResRCHoleTypeName},
    {PAT_RAD_SLOT, kResRadSlotTypeName},
    {PAT_LINE_ARRAY, kResLineArrayTypeName},
    {PAT_ARC_ARRAY, 12036},
    {PAT_CIRCLE_ARRAY, kResCircleArrayTypeName},
    {PAT_GRID_ARRAY, kResGridArrayTypeName},
};

int KindNameID(std::int64_t type) {
    for (const KindName& kind : kKindNames) {
        if (kind.type == type) {
            return kind.nameID;
        }
    }
    return 0;
}

// The pattern reports the value back: exactly for texts, within kPropReadBackTol for numbers (relative to
// the value's size, absolute below 1: angles go through degrees and back).
bool ReportsBack(const IPattern& pattern, const DataPropItem& wanted) {
    const DataProperty property = pattern.GetProperty();
    const DataPropItem* now = property.GetItemByName(wanted.GetItemID());
    if (now == nullptr) {
        return false;
    }
    if (std::holds_alternative<std::wstring>(wanted.GetValue())) {
        return now->GetString() == wanted.GetString();
    }
    const double v = wanted.GetDouble();
    return std::fabs(now->GetDouble() - v) <= kPropReadBackTol * std::max(1.0, std::fabs(v));
}

}  // namespace

PatternPropBar* PatternPropBar::m_pPatPropBar = nullptr;

PatternPropBar::PatternPropBar() : GeomPropBarBase(kResPatPropBarTitle, kPatPropBarWindowID) {}

PatternPropBar* PatternPropBar::GetInstance(WindowHandle parent) {
    if (m_pPatPropBar == nullptr) {
        // Lives to the end of the process, as the pane it models does.
        m_pPatPropBar = new PatternPropBar();
        m_pPatPropBar->SetParentWindow(parent);
    }
    return m_pPatPropBar;
}

void PatternPropBar::DisplayPatProp(const PatLoopListPtr& loops, const PatternListPtr& patterns) {
    m_loops = loops;
    m_patterns = patterns;
    FillGrid();
    ShowPane(1, 0, 1);
    NotifyContentChanged();
}

void PatternPropBar::FillGrid() {
    m_grid.Clear();
    if (!m_patterns || m_patterns->empty()) {
        return;
    }
    if (m_patterns->size() == 1) {
        const IPatternPtr& pattern = m_patterns->front();
        if (!pattern) {
            return;
        }
        const DataProperty property = pattern->GetProperty();
        for (const int groupID : {kResPropGroupGeneral, kResPropGroupGeometry}) {
            std::vector<DataPropItem> items;
            property.GetItemsByType(groupID, items);
            PropGrid::Group& group = m_grid.AddGroup(groupID);
            for (const DataPropItem& item : items) {
                group.entries.push_back(PropGrid::MakeEntry(item, groupID != kResPropGroupGeometry));
            }
        }
        return;
    }
    PropGrid::Group& summary = m_grid.AddGroup(kResPropGroupSummary);
    const IntegerListPtr types = m_patterns->GetPatTypeList(0);
    for (const std::int64_t type : *types) {
        const int count =
            static_cast<int>(m_patterns->GetPatByType(static_cast<tagPatternType>(type), 0)->size());
        summary.entries.push_back(
            PropGrid::MakeEntry(DataPropItem(kResPropGroupSummary, KindNameID(type), count), true));
    }
}

int PatternPropBar::OnPropertyChange(unsigned int group, long int entry) {
    if (entry < 0) {
        return 0;
    }
    const PropGrid::Entry* row = m_grid.GetEntry(group, static_cast<std::size_t>(entry));
    if (row == nullptr || row->kind == PropGrid::EntryKind::ReadOnly || !m_patterns ||
        m_patterns->size() != 1 || !m_patterns->front()) {
        return 0;
    }
    if (row->text == row->shown) {
        return 0;
    }
    DataPropItem newItem;
    if (PropGrid::ParseEntry(*row, newItem) == 0) {
        return Refuse();
    }
    const DataPropItem oldItem = row->item;
    const IPatternPtr pattern = m_patterns->front();
    // Tried on a copy first: the pattern itself changes only through the command.
    const IPatternPtr trial = detail::GeometryCopy(pattern);
    DataPropItem applied = newItem;
    trial->UpdateProperty(applied);
    if (!detail::IsSoundShape(*trial) || !ReportsBack(*trial, newItem)) {
        return Refuse();
    }
    const auto command =
        boost::make_shared<PatPropEditCommand>(GetEditorData(), m_loops, pattern, newItem, oldItem);
    command->Do();
    CommandManager::GetInstance()->AddCommand(command);
    if (const GlViewPortPtr view = GetRelativeView()) {
        view->Invalidate();
    }
    DisplayPatProp(m_loops, m_patterns);
    return 1;
}

int PatternPropBar::EditProperty(int itemID, const std::wstring& text) {
    std::size_t group = 0;
    std::size_t entry = 0;
    if (m_grid.FindEntry(itemID, group, entry) == 0 || m_grid.SetEntryText(group, entry, text) == 0) {
        return 0;
    }
    return OnPropertyChange(static_cast<unsigned int>(group), static_cast<long int>(entry));
}

int PatternPropBar::Refuse() {
    const GlViewPortPtr view = GetRelativeView();
    XMessageBox::Show(kResPropValueRefused, kResWarningCaption, MSGBOX_OK, MSGBOX_ICON_WARNING,
                      view ? view->GetWindow() : GetParentWindow());
    DisplayPatProp(m_loops, m_patterns);
    return 0;
}

}  // namespace Norvane
