#include "FormatBrowserLayout.h"

#include <cmath>

const QString FormatBrowserLayout::kSelectFunListItemIndexKey = QStringLiteral("selectFunListItemIndex");
const QString FormatBrowserLayout::kSelectItemIndexKey = QStringLiteral("selectItemIndex");

double FormatBrowserLayout::categoryX(int i, int n) {
    if (n <= 1)
        return (kFunctionViewWidth - kCategoryButtonWidth) / 2;
    const int taken = static_cast<int>(kCategoryButtonWidth) * n;
    const float step = static_cast<float>((kFunctionViewWidth - taken) / double(n - 1)) + 120.0f;
    return static_cast<double>(static_cast<float>(i) * step);
}

int FormatBrowserLayout::pageCount(int m) {
    return static_cast<int>(std::ceil(static_cast<float>(m) * 0.125f));
}

double FormatBrowserLayout::documentWidth(int m) {
    return pageCount(m) * kItemStep * kItemWidth;
}

double FormatBrowserLayout::pageScrollX(qint64 p) {
    const float gap = static_cast<float>((kViewportWidth - kItemsPerPage * kItemWidth) / 7.0);
    const float step = gap + 90.0f;
    return static_cast<double>(step * static_cast<float>(p * kItemsPerPage));
}

double FormatBrowserLayout::itemX(int i) {
    return static_cast<double>(static_cast<float>(i) * 100.0f);
}

ViewRect FormatBrowserLayout::viewportFrame(double containerWidth, double functionViewHeight, double backHeight) {
    return {(containerWidth - kViewportWidth) / 2, functionViewHeight + (backHeight - functionViewHeight - 100) / 2 - 5,
            kViewportWidth, kViewportHeight};
}

ViewRect FormatBrowserLayout::highlightFrame(qint64 selectItemIndex, double viewportHeight) {
    return {static_cast<double>(static_cast<float>(selectItemIndex - 1) * 100.0f), 0, kItemWidth, viewportHeight - 15};
}

QString FormatBrowserLayout::pageKey(const QString& category) {
    return category + QStringLiteral("_selectFunctionOfsetIndex");
}

QString FormatBrowserLayout::positionKey(const QString& joinerKey, bool editor) {
    return editor ? QStringLiteral("Edit_") + joinerKey : joinerKey;
}
