#pragma once

#include <QString>

#include <functional>

class QWidget;

// What the tool windows' end-to-end tests share.
namespace WindowShots {

// Saves a picture of `window` as <CLIPWRIGHT_SHOTS_DIR>/<name>.png when that variable is set (scripts/screenshots
// sets it and runs the end-to-end tests under Xvfb); does nothing otherwise. Returns the path written, or "".
QString save(QWidget* window, const QString& name);

// Runs the event loop until `done` holds or `timeoutMs` passes; returns whether it holds.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30000);

} // namespace WindowShots
