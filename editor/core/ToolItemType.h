#pragma once

#include <QtGlobal>

// The editor's mode, one bit per tool; the launcher sets it, the editor opens on that tool's panel.
enum ToolItemType : qint64 {
    ToolItemTypeTrim = 1,
    ToolItemTypeRotate = 2,
    ToolItemTypeCrop = 4,
    ToolItemTypeEffect = 8,
    ToolItemTypeWatermark = 16,
    ToolItemTypeSubtitle = 32,
    ToolItemTypeMusic = 64,
};
