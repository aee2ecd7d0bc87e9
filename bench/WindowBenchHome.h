#pragma once

#include "Alert.h"
#include "Modal.h"
#include "StandardFolders.h"

#include <QDir>
#include <QString>

#include <cstdio>

// What a tool-window bench runs in: its own fresh home folder (outputs land there), alerts printed instead of
// shown, and modal runs (the result alert) answered at once.
class WindowBenchHome {
public:
    // The home folder, for the bench to remove when it is done.
    static QString enter(const QString& name) {
        const QString home = QDir::tempPath() + "/clipwright-bench-" + name + "-home";
        QDir(home).removeRecursively();
        StandardFolders::setTestRoot(home);
        Alert::setProvider([](const AlertRequest& request, QWidget*) {
            std::printf("alert: %s\n", qPrintable(request.informativeText));
            return 0;
        });
        Modal::setProvider([](QWidget*) { return Modal::kModalResponseStop; }, [](int) {});
        return home;
    }
};
