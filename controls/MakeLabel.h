#pragma once

#include <QString>

class QLabel;
class QWidget;
struct ViewRect;

// A window's plain text: a transparent label at `frame` (layout points, y up) in the system font of `fontSize`
// pixels, in `color` (a style-sheet colour name).
QLabel* makeLabel(QWidget* parent, const ViewRect& frame, const QString& text, double fontSize = 12,
                  const QString& color = QStringLiteral("black"));
