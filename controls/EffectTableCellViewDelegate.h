#pragma once

class EffectTableCellView;

// What a check-list row reports. Every method is optional, and which of them a delegate takes decides what the
// row's setters report (see EffectTableCellView); a delegate that leaves one out says so through respondsTo().
class EffectTableCellViewDelegate {
public:
    enum class Method { MouseDown, Selected, SelectedState };

    virtual ~EffectTableCellViewDelegate() = default;
    virtual bool respondsTo(Method) const { return true; }

    // A press on the row outside its check box, while the row is enabled.
    virtual void actionMouseDownForEffectTableCellViewBlock(EffectTableCellView*, long long) {}
    // A click on the check box, while the row is enabled.
    virtual void actionSelectedForEffectTableCellViewBlock(EffectTableCellView*, long long) {}
    // The row's check (selected) or highlight (setSelectedRow) changed, under the rules of those setters.
    virtual void actionSelectedBlock(EffectTableCellView*, bool, long long) {}
};
