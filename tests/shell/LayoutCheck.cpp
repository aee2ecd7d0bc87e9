#include "LayoutCheck.h"

#include "LQProgressSlider.h"
#include "LabelField.h"
#include "MOQButton.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

namespace {

bool insideAScrollingList(QWidget* widget, QWidget* area) {
    for (QWidget* w = widget->parentWidget(); w && w != area; w = w->parentWidget())
        if (auto* scroll = qobject_cast<QAbstractScrollArea*>(w->parentWidget()); scroll && w == scroll->viewport())
            return true;
    return false;
}

std::string describe(QWidget* widget) {
    QString text = widget->property("text").toString();
    if (auto* button = qobject_cast<MOQButton*>(widget))
        text = button->contentTitle();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        text = combo->currentText();
    QString name = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->objectName().isEmpty())
        name += " " + widget->objectName();
    if (!text.isEmpty())
        name += " \"" + text + "\"";
    return name.toStdString();
}

bool isField(QWidget* widget) {
    return qobject_cast<QLineEdit*>(widget) && !qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) &&
           !qobject_cast<QComboBox*>(widget->parentWidget());
}

// Where a control draws: a label's text, a button's title when the button draws nothing else, else its frame.
QRect drawnRect(QWidget* widget, const QRect& frame) {
    const QFontMetrics metrics(widget->font());
    if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap()) {
        const QSize text(metrics.horizontalAdvance(label->text()), metrics.height());
        return QStyle::alignedRect(Qt::LeftToRight, label->alignment(), text.boundedTo(frame.size()), frame);
    }
    if (auto* button = qobject_cast<MOQButton*>(widget)) {
        const bool titleOnly = button->normalImage().isNull() && button->normalBackgroundImage().isNull() &&
                               !button->isBordered() && !button->backGroundColor().isValid();
        if (titleOnly && !button->contentTitle().isEmpty()) {
            const QSize text(metrics.horizontalAdvance(button->contentTitle()), metrics.height());
            return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, text.boundedTo(frame.size()), frame);
        }
    }
    return frame;
}

std::string where(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

} // namespace

std::vector<LayoutCheck::Control> LayoutCheck::shownControls(QWidget* area) {
    std::vector<Control> controls;
    for (QWidget* child : area->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QLabel*>(child) || qobject_cast<MOQButton*>(child) ||
                             qobject_cast<QAbstractSpinBox*>(child) || qobject_cast<LQProgressSlider*>(child) ||
                             qobject_cast<QComboBox*>(child) || isField(child);
        if (!control || !child->isVisibleTo(area) || insideAScrollingList(child, area))
            continue;
        controls.push_back({child, QRect(child->mapTo(area, QPoint(0, 0)), child->size()), describe(child)});
    }
    return controls;
}

QRect LayoutCheck::visibleRect(QWidget* area) {
    QRect visible = area->rect();
    for (QWidget* w = area; w->parentWidget(); w = w->parentWidget()) {
        QWidget* parent = w->parentWidget();
        visible &= QRect(area->mapFrom(parent, QPoint(0, 0)), parent->size());
    }
    return visible;
}

int LayoutCheck::expectFits(QWidget* area) {
    const std::vector<Control> controls = shownControls(area);
    const QRect visible = visibleRect(area);
    int faults = 0;
    auto fault = [&faults](const std::string& what) {
        ++faults;
        ADD_FAILURE() << what;
    };
    for (const Control& c : controls) {
        if (!visible.contains(c.rect))
            fault(c.name + " at " + where(c.rect) + " is not inside the visible " + where(visible));
        const QFontMetrics metrics(c.widget->font());
        if (auto* label = qobject_cast<QLabel*>(c.widget);
            label && !label->wordWrap() && label->textFormat() != Qt::RichText) {
            if (metrics.horizontalAdvance(label->text()) > label->width())
                fault(c.name + " is cut off: its text needs " +
                      std::to_string(metrics.horizontalAdvance(label->text())) + " of " +
                      std::to_string(label->width()));
            if (!label->text().isEmpty() && metrics.height() > label->height())
                fault(c.name + " is too low for its line: " + std::to_string(label->height()) + " of " +
                      std::to_string(metrics.height()));
        }
        if (auto* button = qobject_cast<MOQButton*>(c.widget); button && !button->contentTitle().isEmpty()) {
            const int needed = metrics.horizontalAdvance(button->contentTitle()) + button->normalImage().width();
            if (needed > button->width())
                fault(c.name + " is cut off: its title needs " + std::to_string(needed) + " of " +
                      std::to_string(button->width()));
        }
    }
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j) {
            // Fields sit in their frames between separators; only a button or a stepper over a field counts.
            const bool fieldI = isField(controls[i].widget), fieldJ = isField(controls[j].widget);
            if (fieldI && fieldJ)
                continue;
            if ((fieldI || fieldJ) &&
                (qobject_cast<QLabel*>(controls[i].widget) || qobject_cast<QLabel*>(controls[j].widget)))
                continue;
            if (controls[i].widget->isAncestorOf(controls[j].widget) ||
                controls[j].widget->isAncestorOf(controls[i].widget))
                continue;
            if (drawnRect(controls[i].widget, controls[i].rect)
                    .intersects(drawnRect(controls[j].widget, controls[j].rect)))
                fault(controls[i].name + " at " + where(controls[i].rect) + " covers " + controls[j].name + " at " +
                      where(controls[j].rect));
        }
    return faults;
}
