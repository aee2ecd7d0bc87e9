#include "WindowKeys.h"

#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

namespace {

// Not `bind`: with a std::function argument, that name would find std::bind.
void bindKeys(QWidget* window, const QKeySequence& keys, const std::function<void()>& action,
              Qt::ShortcutContext context = Qt::WindowShortcut) {
    auto* shortcut = new QShortcut(keys, window);
    shortcut->setContext(context);
    QObject::connect(shortcut, &QShortcut::activated, window, [action] { action(); });
}

constexpr char kTextAtFocusProperty[] = "clipwright.textAtFocus";
constexpr char kWatchedProperty[] = "clipwright.escapeWatched";

// The text field that has the focus in `window`, or null. An editable combo box or a spin box types into its line
// edit, which is the focus widget then.
QLineEdit* focusedField(QWidget* window) {
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    return field != nullptr && field->window() == window && !field->isReadOnly() ? field : nullptr;
}

// Remembers the text a field had before the user's typing and, on Esc, gives it back and moves the focus off the
// field. Text the window itself sets (a time that follows the player, a value made valid) and text the user
// committed with Return count as the field's own; only uncommitted typing is undone.
class FieldEscape : public QObject {
public:
    explicit FieldEscape(QWidget* window) : QObject(window), _window(window) {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            auto* field = qobject_cast<QLineEdit*>(now);
            if (field == nullptr || field->window() != _window)
                return;
            remember(field);
            if (field->property(kWatchedProperty).toBool())
                return;
            field->setProperty(kWatchedProperty, true);
            // QLineEdit marks the user's edits as modified; setText() clears the mark.
            connect(field, &QLineEdit::textChanged, this, [field] {
                if (!field->isModified())
                    remember(field);
            });
            connect(field, &QLineEdit::editingFinished, this, [field] { remember(field); });
        });
    }

    void escape() {
        QLineEdit* field = focusedField(_window);
        if (field == nullptr)
            return;
        const QVariant before = field->property(kTextAtFocusProperty);
        if (field->isModified() && before.isValid() && before.toString() != field->text())
            field->setText(before.toString());
        // The window takes the focus, so the field's focus-out checks see the text it had before typing.
        _window->setFocus(Qt::OtherFocusReason);
    }

private:
    static void remember(QLineEdit* field) {
        field->setProperty(kTextAtFocusProperty, field->text());
        field->setModified(false);
    }

    QWidget* _window;
};

} // namespace

void WindowKeys::closeWith(QWidget* window, std::function<void()> close) {
    if (window == nullptr || !close)
        return;
    bindKeys(window, QKeySequence(Qt::CTRL | Qt::Key_W), close);
    if (window->focusPolicy() == Qt::NoFocus)
        window->setFocusPolicy(Qt::ClickFocus);
    auto* escape = new FieldEscape(window);
    bindKeys(window, QKeySequence(Qt::Key_Escape), [escape] { escape->escape(); });
}

void WindowKeys::answerWith(QWidget* window, std::function<void()> accept, std::function<void()> cancel) {
    if (window == nullptr)
        return;
    if (accept) {
        bindKeys(window, QKeySequence(Qt::Key_Return), accept);
        bindKeys(window, QKeySequence(Qt::Key_Enter), accept);
    }
    if (cancel)
        bindKeys(window, QKeySequence(Qt::Key_Escape), cancel);
}

void WindowKeys::quitWith(QWidget* window) {
    if (window == nullptr)
        return;
    QPointer<QWidget> mainWindow(window);
    bindKeys(
        window, QKeySequence(Qt::CTRL | Qt::Key_Q), [mainWindow] { quitApplication(mainWindow); },
        Qt::ApplicationShortcut);
}

bool WindowKeys::quitApplication(QWidget* mainWindow) {
    // The tool windows first: one whose job the user keeps must not find the launcher already gone.
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == mainWindow || !other->isWindow() || !other->isVisible() || other->windowType() == Qt::Popup ||
            other->windowType() == Qt::ToolTip)
            continue;
        if (!other->close())
            return false;
    }
    if (mainWindow != nullptr && mainWindow->isVisible() && !mainWindow->close())
        return false;
    // A stopped job's worker removes its unfinished file; the application waits for its workers before it ends.
    QCoreApplication::quit();
    return true;
}

void WindowKeys::fitTitleButtons(QWidget* window) {
    if (window == nullptr || !window->isWindow() || window->minimumSize() != window->maximumSize())
        return;
    const bool visible = window->isVisible();
    Qt::WindowFlags flags = window->windowFlags() & Qt::WindowType_Mask;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
             Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    if (visible)
        window->show();
}
