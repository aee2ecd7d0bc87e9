#pragma once

#include "AlertRequest.h"

#include <functional>

class QWidget;

// Modal alerts behind a seam: run() asks the current provider, a QMessageBox unless a test replaced it with
// setProvider(). The result is the index of the button pressed (0 = the first button).
class Alert {
public:
    using Provider = std::function<int(const AlertRequest& request, QWidget* parent)>;

    static int run(const AlertRequest& request, QWidget* parent = nullptr);

    static void setProvider(Provider provider);
    static void resetProvider();
    static int runMessageBox(const AlertRequest& request, QWidget* parent);
};
