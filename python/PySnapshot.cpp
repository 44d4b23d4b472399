#include "python/PySnapshot.h"

#include <cctype>
#include <unordered_map>

#include "apps/core/PartSummary.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/loop/PatLoopCache.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PatLoopNodeList.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/processor/LoopTopItem.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

namespace {

// "Sweep Angle" -> "sweep_angle": the property bar's caption as a Python name.
std::string KeyOf(int itemID) {
    const std::wstring caption = ResourceString::Load(itemID);
    std::string key;
    for (const wchar_t c : caption) {
        if (c < 128 && std::isalnum(static_cast<int>(c))) {
            key += static_cast<char>(std::tolower(static_cast<int>(c)));
        } else if (!key.empty() && key.back() != '_') {
            key += '_';
        }
    }
    return key.empty() ? "item_" + std::to_string(itemID) : key;
}

const char* KindName(tagLoopType type) {
    switch (type) {
        case LOOP_STD:
            return "standard";
        case LOOP_ARRAY:
            return "array";
        default:
            return "polygon";
    }
}

}  // namespace

std::vector<PatternInfo> PatternsOf(const Part& part) {
    std::vector<PatternInfo> out;
    if (!part.patterns)
        return out;
    out.reserve(part.patterns->size());
    for (const IPatternPtr& pattern : *part.patterns) {
        if (!pattern)
            continue;
        PatternInfo info;
        info.id = static_cast<std::int64_t>(pattern->GetID());
        info.typeCode = pattern->GetPatternType();
        info.type = PatternTypeName(info.typeCode);
        std::vector<DataPropItem> items;
        pattern->GetProperty().GetItemsByType(kPropGroupValues, items);
        for (const DataPropItem& item : items)
            info.params.emplace_back(KeyOf(item.GetItemID()), item.GetValue());
        info.layer = pattern->GetLayerName();
        info.colour = pattern->GetColorIndex();
        info.arraySeed = static_cast<bool>(pattern->IsControlPat());
        out.push_back(std::move(info));
    }
    return out;
}

std::vector<LoopInfo> LoopsOf(const Part& part) {
    std::vector<LoopInfo> out;
    if (!part.loops)
        return out;
    std::unordered_map<const IPatLoop*, std::size_t> indexOf;
    for (std::size_t i = 0; i < part.loops->size(); ++i) {
        const IPatLoopPtr& loop = (*part.loops)[i];
        indexOf[loop.get()] = i;
        LoopInfo info;
        info.index = i;
        info.id = static_cast<std::int64_t>(loop->GetID());
        info.kind = KindName(loop->GetLoopType());
        info.closed = loop->IsOpenPath(kOpenLoopTol) == 0;
        info.direction = loop->GetDirection() == DIR_CW ? "cw" : "ccw";
        info.boundary = loop->IsBoundaryLoop() != 0;
        info.shape = "polygon";
        const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
        for (const PatLoopNodePtr& node : *nodes) {
            if (node && node->GetPat())
                info.pieces.push_back(static_cast<std::int64_t>(node->GetPat()->GetID()));
        }
        if (info.kind != "polygon" && !nodes->empty() && nodes->front()->GetPat()) {
            info.shape = PatternTypeName(nodes->front()->GetPat()->GetPatternType());
        }
        if (loop->GetCacheData() && !nodes->empty()) {
            const Rect2D& r = loop->GetCacheData()->GetLoopRect();
            info.box = {r.left, r.bottom, r.right, r.top};
        }
        out.push_back(std::move(info));
    }
    if (!part.tree)
        return out;
    // Depth counts closed loops only, as the program's tree does: open loops enclose nothing.
    struct Walker {
        std::vector<LoopInfo>& out;
        std::unordered_map<const IPatLoop*, std::size_t>& indexOf;
        void Walk(const LoopTopItemListPtr& level, int depth) {
            for (const LoopTopItemPtr& item : *level) {
                LoopInfo& info = out[indexOf.at(item->GetPatLoop().get())];
                info.depth = depth;
                info.role = !info.closed ? "open" : depth == 0 ? "outer" : depth % 2 ? "hole" : "island";
                Walk(item->GetSubItemList(), info.closed ? depth + 1 : depth);
            }
        }
    } walker{out, indexOf};
    walker.Walk(part.tree, 0);
    return out;
}

}  // namespace Norvane
