// Paints the pictures of the format browser and one icon per shipped profile. Run it after adding or renaming a
// profile:  paint_format_art <Settings.bundle folder>
// Profile icons are drawn beside their ".pf" files in both profile roots; browser pictures go to "Resources/" and
// the play button to "Cut/". An existing picture is left as it is unless --force is given.
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <cstdio>
#include <functional>

namespace {

bool gForce = false;

bool save(const QImage& image, const QString& path) {
    if (!gForce && QFileInfo::exists(path))
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void paint(QImage* image, const std::function<void(QPainter&)>& draw) {
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter);
}

QColor categoryColour(const QString& category, bool keepOriginal) {
    if (keepOriginal)
        return QColor(96, 106, 118);
    if (category == QLatin1String("Audio"))
        return QColor(222, 128, 28);
    if (category == QLatin1String("Devices"))
        return QColor(38, 150, 102);
    if (category == QLatin1String("Web"))
        return QColor(118, 84, 190);
    if (category == QLatin1String("Custom"))
        return QColor(170, 60, 90);
    return QColor(36, 120, 196);
}

void fitText(QPainter& painter, const QRectF& box, const QString& text, int maxPixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(bold);
    int pixels = maxPixels;
    for (; pixels > 7; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetricsF(font).horizontalAdvance(text) <= box.width())
            break;
    }
    font.setPixelSize(pixels);
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter, text);
}

// 80 x 80: a rounded tile in the category's colour with the format's name large and its detail small. The items of
// the browser show no title, so the icon carries the name.
QImage profileIcon(const QString& category, const QString& name, bool keepOriginal) {
    static const QRegularExpression split(QStringLiteral("^([^(]*)\\((.*)\\)$"));
    QString head = name;
    QString detail = category;
    const QRegularExpressionMatch match = split.match(name);
    if (match.hasMatch()) {
        head = match.captured(1);
        detail = match.captured(2);
    }
    if (head.size() <= 4)
        head = head.toUpper();
    if (keepOriginal) {
        head = QStringLiteral("=");
        detail = QStringLiteral("Original");
    }

    QImage image = canvas(80, 80);
    paint(&image, [&](QPainter& p) {
        const QColor colour = categoryColour(category, keepOriginal);
        QLinearGradient fill(0, 0, 0, 80);
        fill.setColorAt(0, colour.lighter(125));
        fill.setColorAt(1, colour.darker(115));
        p.setPen(QPen(colour.darker(150), 1.5));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(2, 2, 76, 76), 12, 12);
        // A film-strip edge for pictures, sound bars for audio.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 70));
        if (category == QLatin1String("Audio")) {
            const int bars[] = {6, 12, 9, 15, 7, 11, 5};
            for (int i = 0; i < 7; ++i)
                p.drawRoundedRect(QRectF(19 + i * 6, 20 - bars[i], 4, bars[i]), 1.5, 1.5);
        } else {
            for (int i = 0; i < 6; ++i)
                p.drawRoundedRect(QRectF(10 + i * 11, 8, 7, 6), 1.5, 1.5);
        }
        p.setPen(Qt::white);
        fitText(p, QRectF(6, 22, 68, 30), head, keepOriginal ? 30 : 24, true);
        p.setPen(QColor(255, 255, 255, 225));
        fitText(p, QRectF(6, 52, 68, 18), detail, 13, false);
    });
    return image;
}

QImage arrow(bool left, bool enabled) {
    QImage image = canvas(28, 28);
    paint(&image, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(enabled ? QColor(255, 255, 255, 230) : QColor(255, 255, 255, 70));
        p.drawEllipse(QRectF(1, 1, 26, 26));
        QPainterPath chevron;
        const qreal tip = left ? 9 : 19;
        const qreal back = left ? 17 : 11;
        chevron.moveTo(back, 7);
        chevron.lineTo(tip, 14);
        chevron.lineTo(back, 21);
        p.setPen(QPen(enabled ? QColor(33, 120, 190) : QColor(150, 156, 162), 3, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(chevron);
    });
    return image;
}

QImage smallTriangle(bool pointingUp) {
    QImage image = canvas(8, 10);
    paint(&image, [&](QPainter& p) {
        QPainterPath path;
        if (pointingUp) {
            path.moveTo(0, 8);
            path.lineTo(4, 2);
            path.lineTo(8, 8);
        } else {
            path.moveTo(0, 2);
            path.lineTo(4, 8);
            path.lineTo(8, 2);
        }
        path.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        p.drawPath(path);
    });
    return image;
}

QImage gear() {
    QImage image = canvas(28, 28);
    paint(&image, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 30, 30, 170));
        p.drawEllipse(QRectF(1, 1, 26, 26));
        p.translate(14, 14);
        p.setBrush(Qt::white);
        for (int i = 0; i < 8; ++i) {
            p.drawRect(QRectF(-2, -10, 4, 5));
            p.rotate(45);
        }
        p.drawEllipse(QPointF(0, 0), 6.5, 6.5);
        p.setBrush(QColor(30, 30, 30));
        p.drawEllipse(QPointF(0, 0), 2.5, 2.5);
    });
    return image;
}

QImage playButton(int look) {
    QImage image = canvas(31, 31);
    paint(&image, [&](QPainter& p) {
        const QColor ring = look == 2 ? QColor(20, 110, 170) : QColor(255, 255, 255);
        p.setPen(QPen(ring, 2));
        p.setBrush(look == 0 ? QColor(0, 0, 0, 90) : QColor(33, 176, 235, look == 1 ? 200 : 255));
        p.drawEllipse(QRectF(1.5, 1.5, 28, 28));
        QPainterPath triangle;
        triangle.moveTo(12, 9);
        triangle.lineTo(22, 15.5);
        triangle.lineTo(12, 22);
        triangle.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(triangle);
    });
    return image;
}

QImage stretchable(int width, int height, const std::function<void(QPainter&)>& draw) {
    QImage image = canvas(width, height);
    paint(&image, draw);
    return image;
}

bool paintBrowserArt(const QString& bundle) {
    const QString res = bundle + QStringLiteral("/Resources/");
    bool ok = true;
    ok &= save(arrow(true, true), res + QStringLiteral("left_nor.png"));
    ok &= save(arrow(true, false), res + QStringLiteral("left_dis.png"));
    ok &= save(arrow(false, true), res + QStringLiteral("right_nor.png"));
    ok &= save(arrow(false, false), res + QStringLiteral("right_dis.png"));
    ok &= save(smallTriangle(true), res + QStringLiteral("Extend.png"));
    ok &= save(smallTriangle(false), res + QStringLiteral("shrink.png"));
    ok &= save(gear(), res + QStringLiteral("setingParam.png"));
    // The item area's background: stretched over the browser's width, 152 high.
    ok &= save(stretchable(64, 152,
                           [](QPainter& p) {
                               QLinearGradient fill(0, 0, 0, 152);
                               fill.setColorAt(0, QColor(96, 104, 112));
                               fill.setColorAt(1, QColor(70, 76, 84));
                               p.fillRect(QRectF(0, 0, 64, 152), fill);
                               p.fillRect(QRectF(0, 0, 64, 1), QColor(255, 255, 255, 60));
                           }),
               res + QStringLiteral("WSCategoryBack.png"));
    // Behind the chosen category button (120 x 24).
    ok &= save(stretchable(120, 24,
                           [](QPainter& p) {
                               p.setPen(Qt::NoPen);
                               p.setBrush(QColor(33, 176, 235));
                               p.drawRoundedRect(QRectF(1, 1, 118, 22), 11, 11);
                           }),
               res + QStringLiteral("selImageView.png"));
    // The top bar that names the chosen profile (280 x 30).
    ok &= save(stretchable(280, 30,
                           [](QPainter& p) {
                               QPainterPath tab;
                               tab.moveTo(0, 30);
                               tab.lineTo(14, 2);
                               tab.quadTo(15, 0, 18, 0);
                               tab.lineTo(262, 0);
                               tab.quadTo(265, 0, 266, 2);
                               tab.lineTo(280, 30);
                               tab.closeSubpath();
                               QLinearGradient fill(0, 0, 0, 30);
                               fill.setColorAt(0, QColor(236, 240, 244));
                               fill.setColorAt(1, QColor(200, 208, 216));
                               p.setPen(Qt::NoPen);
                               p.setBrush(fill);
                               p.drawPath(tab);
                           }),
               res + QStringLiteral("CategoryHead.png"));
    // Behind the chosen profile item (90 x 95).
    ok &= save(stretchable(90, 95,
                           [](QPainter& p) {
                               p.setPen(QPen(QColor(33, 176, 235), 3));
                               p.setBrush(QColor(255, 255, 255, 60));
                               p.drawRoundedRect(QRectF(1.5, 1.5, 87, 92), 8, 8);
                           }),
               res + QStringLiteral("selDVDItemBack.png"));
    ok &= save(playButton(0), bundle + QStringLiteral("/Cut/btnPlay_Normal.png"));
    ok &= save(playButton(1), bundle + QStringLiteral("/Cut/btnPlay_On.png"));
    ok &= save(playButton(2), bundle + QStringLiteral("/Cut/btnPlay_Down.png"));
    return ok;
}

bool paintProfileIcons(const QString& bundle, const QString& keepOriginalName) {
    bool ok = true;
    for (const QString& root : {QStringLiteral("functionFolder"), QStringLiteral("pf_join")}) {
        QDirIterator it(bundle + QLatin1Char('/') + root, {QStringLiteral("*.pf")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo profile(it.next());
            const QString name = profile.completeBaseName();
            const QString category = profile.dir().dirName();
            ok &= save(profileIcon(category, name, name == keepOriginalName),
                       profile.dir().filePath(name + QStringLiteral(".png")));
        }
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    gForce = args.removeAll(QStringLiteral("--force")) > 0;
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: paint_format_art [--force] <Settings.bundle folder>\n");
        return 2;
    }
    const bool ok = paintBrowserArt(args.first()) && paintProfileIcons(args.first(), QStringLiteral("Keep Original"));
    return ok ? 0 : 1;
}
