#pragma once

#include <QScrollArea>

// A scroll view with one flag that nothing reads; it draws and scrolls exactly as its base class.
class MOQScrollView : public QScrollArea {
    Q_OBJECT
public:
    explicit MOQScrollView(QWidget* parent = nullptr) : QScrollArea(parent) {}

    bool enable() const { return _enable; }
    void setEnable(bool enable) { _enable = enable; }

private:
    bool _enable = false;
};
