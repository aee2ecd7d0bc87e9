// Paints the application's own flat icons and control pictures into Settings.bundle:
//
//     paint_bundle_icons <Settings.bundle folder> [--force] [--only <prefix>]
//
// Every picture is drawn from simple shapes in one style: white or blue glyphs, the theme blue RGB(33, 176, 235),
// soft rounded corners, transparent surroundings. Buttons come in four looks: "_Normal", "_On" (hover), "_Down"
// (pressed) and "_Disable". ".bmp" files are written as 32-bit BMPs with an alpha channel (BITMAPV4HEADER with
// bit fields), which Qt reads with their transparency. An existing file is left alone unless --force is given,
// so pictures drawn by other tools are never overwritten.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <QtEndian>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

enum class Look { Normal, On, Down, Disable };

const QColor kTheme(33, 176, 235);
const QColor kThemeDark(18, 138, 196);
const QColor kInk(46, 58, 70);
// The kept range of a trim slider: warm, so that it reads on the theme-blue window as well as on the dark bar
// under a player, and apart from the grey of the cut-away track and the orange of the playhead.
const QColor kHighlight(255, 200, 40);

// ---- Glyphs, drawn on a 24 x 24 grid with 2-unit strokes ----

enum class Glyph {
    None,
    Crop,
    Effect,
    Subtitle,
    Watermark,
    Join,
    Scissors,
    BatchCut,
    AdvancedCut,
    Rotate,
    Mirror,
    Music,
    Split,
    Play,
    Pause,
    Stop,
    Preview,
    Trash,
    VolumeOn,
    VolumeOff,
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    SetStart,
    SetEnd,
    Camera,
    Gear,
    Plus,
    AddPicture,
    AddText,
    Folder,
    Envelope,
    Info,
    Home,
    Check
};

void strokeGlyph(QPainter& p, const QColor& colour) {
    p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

void fillGlyph(QPainter& p, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
}

void plusBadge(QPainter& p, const QColor& colour, QPointF centre) {
    strokeGlyph(p, colour);
    p.drawLine(centre + QPointF(-3, 0), centre + QPointF(3, 0));
    p.drawLine(centre + QPointF(0, -3), centre + QPointF(0, 3));
}

void drawSpeaker(QPainter& p, const QColor& colour) {
    fillGlyph(p, colour);
    p.drawPolygon(QPolygonF{QPointF(3, 9.5), QPointF(7, 9.5), QPointF(12, 5), QPointF(12, 19), QPointF(7, 14.5),
                            QPointF(3, 14.5)});
}

void drawArrow(QPainter& p, const QColor& colour, bool up) {
    strokeGlyph(p, colour);
    const double tip = up ? 5 : 19, tail = up ? 19 : 5, head = up ? 11 : 13;
    p.drawLine(QPointF(12, tail), QPointF(12, tip));
    p.drawPolyline(QPolygonF{QPointF(6, head), QPointF(12, tip), QPointF(18, head)});
}

void drawBracket(QPainter& p, const QColor& colour, double x, bool opening) {
    strokeGlyph(p, colour);
    const double foot = opening ? x + 2.5 : x - 2.5;
    p.drawPolyline(QPolygonF{QPointF(foot, 5), QPointF(x, 5), QPointF(x, 19), QPointF(foot, 19)});
}

void drawTriangle(QPainter& p, const QColor& colour, QRectF box) {
    QPainterPath triangle;
    triangle.moveTo(box.left(), box.top());
    triangle.lineTo(box.right(), box.center().y());
    triangle.lineTo(box.left(), box.bottom());
    triangle.closeSubpath();
    fillGlyph(p, colour);
    p.drawPath(triangle);
}

void drawGlyphOnGrid(QPainter& p, Glyph glyph, const QColor& c) {
    switch (glyph) {
    case Glyph::None:
        break;
    case Glyph::Crop:
        strokeGlyph(p, c);
        p.drawPolyline(QPolygonF{QPointF(6, 2), QPointF(6, 18), QPointF(22, 18)});
        p.drawPolyline(QPolygonF{QPointF(2, 6), QPointF(18, 6), QPointF(18, 22)});
        break;
    case Glyph::Effect: {
        strokeGlyph(p, c);
        p.drawLine(QPointF(3.5, 20.5), QPointF(13, 11));
        QPainterPath star;
        const QPointF o(17, 7);
        star.moveTo(o + QPointF(0, -5));
        star.quadTo(o, o + QPointF(5, 0));
        star.quadTo(o, o + QPointF(0, 5));
        star.quadTo(o, o + QPointF(-5, 0));
        star.quadTo(o, o + QPointF(0, -5));
        fillGlyph(p, c);
        p.drawPath(star);
        p.drawEllipse(QPointF(20.5, 15.5), 1.3, 1.3);
        p.drawEllipse(QPointF(8.5, 4.5), 1.3, 1.3);
        break;
    }
    case Glyph::Subtitle:
        strokeGlyph(p, c);
        p.drawRoundedRect(QRectF(2, 4, 20, 16), 2.5, 2.5);
        p.drawLine(QPointF(6, 13), QPointF(11, 13));
        p.drawLine(QPointF(14, 13), QPointF(18, 13));
        p.drawLine(QPointF(6, 16.5), QPointF(15, 16.5));
        break;
    case Glyph::Watermark: {
        QPainterPath drop;
        drop.moveTo(12, 2.5);
        drop.cubicTo(12, 2.5, 5, 10.5, 5, 14.5);
        drop.arcTo(QRectF(5, 7.5, 14, 14), 180, 180);
        drop.cubicTo(19, 10.5, 12, 2.5, 12, 2.5);
        strokeGlyph(p, c);
        p.drawPath(drop);
        p.drawArc(QRectF(8.5, 11, 7, 7), 190 * 16, 70 * 16);
        break;
    }
    case Glyph::Join:
        strokeGlyph(p, c);
        p.drawRoundedRect(QRectF(1, 6, 7, 12), 1.5, 1.5);
        p.drawRoundedRect(QRectF(16, 6, 7, 12), 1.5, 1.5);
        p.drawLine(QPointF(10, 12), QPointF(14, 12));
        p.drawLine(QPointF(12, 10), QPointF(12, 14));
        break;
    case Glyph::Scissors:
        strokeGlyph(p, c);
        p.drawEllipse(QPointF(6.5, 18), 3, 3);
        p.drawEllipse(QPointF(17.5, 18), 3, 3);
        p.drawLine(QPointF(8.5, 15.5), QPointF(18, 3));
        p.drawLine(QPointF(15.5, 15.5), QPointF(6, 3));
        break;
    case Glyph::BatchCut:
        strokeGlyph(p, c);
        for (double y : {3.0, 10.0, 17.0})
            p.drawRoundedRect(QRectF(2.5, y, 19, 4), 1, 1);
        p.setPen(QPen(c, 2.0, Qt::DashLine, Qt::FlatCap));
        p.drawLine(QPointF(12, 1), QPointF(12, 23));
        break;
    case Glyph::AdvancedCut:
        fillGlyph(p, c);
        p.drawRoundedRect(QRectF(2, 10.5, 20, 3), 1.5, 1.5);
        drawBracket(p, c, 6.5, true);
        drawBracket(p, c, 17.5, false);
        break;
    case Glyph::Rotate: {
        strokeGlyph(p, c);
        p.drawArc(QRectF(4, 4, 16, 16), 100 * 16, 290 * 16);
        fillGlyph(p, c);
        QPainterPath head;
        head.moveTo(10.5, 0.5);
        head.lineTo(16, 4.2);
        head.lineTo(10.5, 8);
        head.closeSubpath();
        p.drawPath(head);
        break;
    }
    case Glyph::Mirror: {
        // Two triangles facing each other across a dashed axis: the left one filled, its image outlined.
        auto triangle = [](double edgeX, double tipX) {
            QPainterPath path;
            path.moveTo(edgeX, 5);
            path.lineTo(edgeX, 19);
            path.lineTo(tipX, 19);
            path.closeSubpath();
            return path;
        };
        fillGlyph(p, c);
        p.drawPath(triangle(10, 2));
        strokeGlyph(p, c);
        p.setBrush(Qt::NoBrush);
        p.drawPath(triangle(14, 22));
        QPen axis(c, 1.5, Qt::DashLine, Qt::FlatCap);
        axis.setDashPattern({2, 2});
        p.setPen(axis);
        p.drawLine(QPointF(12, 1), QPointF(12, 23));
        break;
    }
    case Glyph::Music:
        fillGlyph(p, c);
        p.drawEllipse(QPointF(7, 17.5), 3.2, 2.6);
        p.drawEllipse(QPointF(17, 15.5), 3.2, 2.6);
        strokeGlyph(p, c);
        p.drawLine(QPointF(10, 17.5), QPointF(10, 5.5));
        p.drawLine(QPointF(20, 15.5), QPointF(20, 3.5));
        p.setPen(QPen(c, 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 5.5), QPointF(20, 3.5));
        break;
    case Glyph::Split:
        strokeGlyph(p, c);
        p.drawRoundedRect(QRectF(2, 6, 7, 12), 1.5, 1.5);
        p.drawRoundedRect(QRectF(15, 6, 7, 12), 1.5, 1.5);
        p.setPen(QPen(c, 2.0, Qt::DotLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
        break;
    case Glyph::Play:
        drawTriangle(p, c, QRectF(8, 5, 11, 14));
        break;
    case Glyph::Pause:
        fillGlyph(p, c);
        p.drawRoundedRect(QRectF(7, 5, 3.5, 14), 1, 1);
        p.drawRoundedRect(QRectF(13.5, 5, 3.5, 14), 1, 1);
        break;
    case Glyph::Stop:
        fillGlyph(p, c);
        p.drawRoundedRect(QRectF(6.5, 6.5, 11, 11), 1.5, 1.5);
        break;
    case Glyph::Preview:
        drawBracket(p, c, 4, true);
        drawBracket(p, c, 20, false);
        drawTriangle(p, c, QRectF(9, 7.5, 8, 9));
        break;
    case Glyph::Trash:
        strokeGlyph(p, c);
        p.drawLine(QPointF(4, 6), QPointF(20, 6));
        p.drawPolyline(QPolygonF{QPointF(9, 6), QPointF(9.5, 3.5), QPointF(14.5, 3.5), QPointF(15, 6)});
        p.drawPolyline(QPolygonF{QPointF(6, 6), QPointF(7, 20.5), QPointF(17, 20.5), QPointF(18, 6)});
        p.drawLine(QPointF(10.5, 10), QPointF(10.5, 16.5));
        p.drawLine(QPointF(13.5, 10), QPointF(13.5, 16.5));
        break;
    case Glyph::VolumeOn:
        drawSpeaker(p, c);
        strokeGlyph(p, c);
        p.drawArc(QRectF(9, 8, 8, 8), -50 * 16, 100 * 16);
        p.drawArc(QRectF(7, 4, 14, 16), -55 * 16, 110 * 16);
        break;
    case Glyph::VolumeOff:
        drawSpeaker(p, c);
        strokeGlyph(p, c);
        p.drawLine(QPointF(15, 9), QPointF(21, 15));
        p.drawLine(QPointF(21, 9), QPointF(15, 15));
        break;
    case Glyph::ArrowLeft:
    case Glyph::ArrowRight:
        p.save();
        p.translate(12, 12);
        p.rotate(glyph == Glyph::ArrowLeft ? -90 : 90);
        p.translate(-12, -12);
        drawArrow(p, c, true);
        p.restore();
        break;
    case Glyph::ArrowUp:
        drawArrow(p, c, true);
        break;
    case Glyph::ArrowDown:
        drawArrow(p, c, false);
        break;
    case Glyph::SetStart:
        drawBracket(p, c, 6, true);
        drawTriangle(p, c, QRectF(11, 7, 8, 10));
        break;
    case Glyph::SetEnd:
        drawTriangle(p, c, QRectF(5, 7, 8, 10));
        drawBracket(p, c, 18, false);
        break;
    case Glyph::Camera:
        strokeGlyph(p, c);
        p.drawRoundedRect(QRectF(2.5, 7, 19, 13), 2.5, 2.5);
        p.drawPolyline(QPolygonF{QPointF(8, 7), QPointF(9.5, 4), QPointF(14.5, 4), QPointF(16, 7)});
        p.drawEllipse(QPointF(12, 13.5), 3.5, 3.5);
        break;
    case Glyph::Gear:
        strokeGlyph(p, c);
        p.drawEllipse(QPointF(12, 12), 3, 3);
        p.drawEllipse(QPointF(12, 12), 6.5, 6.5);
        p.setPen(QPen(c, 3.0, Qt::SolidLine, Qt::FlatCap));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(12, 12);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(0, -7), QPointF(0, -10));
            p.restore();
        }
        break;
    case Glyph::Plus:
        p.setPen(QPen(c, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 5), QPointF(12, 19));
        p.drawLine(QPointF(5, 12), QPointF(19, 12));
        break;
    case Glyph::AddPicture:
        strokeGlyph(p, c);
        p.drawRoundedRect(QRectF(2, 4, 15, 13), 2, 2);
        p.drawPolyline(
            QPolygonF{QPointF(3, 15.5), QPointF(7.5, 10.5), QPointF(10.5, 13.5), QPointF(12.5, 11.5), QPointF(16, 15)});
        fillGlyph(p, c);
        p.drawEllipse(QPointF(12.5, 8), 1.5, 1.5);
        plusBadge(p, c, QPointF(19, 19));
        break;
    case Glyph::AddText:
        strokeGlyph(p, c);
        p.drawLine(QPointF(3, 4), QPointF(15, 4));
        p.drawLine(QPointF(9, 4), QPointF(9, 18));
        p.drawLine(QPointF(6.5, 18), QPointF(11.5, 18));
        plusBadge(p, c, QPointF(18.5, 16.5));
        break;
    case Glyph::Folder:
        strokeGlyph(p, c);
        p.drawPolygon(QPolygonF{QPointF(2.5, 6), QPointF(9, 6), QPointF(11, 8), QPointF(21.5, 8), QPointF(21.5, 19),
                                QPointF(2.5, 19)});
        p.drawLine(QPointF(2.5, 11), QPointF(21.5, 11));
        break;
    case Glyph::Envelope:
        strokeGlyph(p, c);
        p.drawRoundedRect(QRectF(2.5, 5, 19, 14), 2, 2);
        p.drawPolyline(QPolygonF{QPointF(3.5, 6.5), QPointF(12, 13), QPointF(20.5, 6.5)});
        break;
    case Glyph::Info:
        strokeGlyph(p, c);
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        p.drawLine(QPointF(12, 11), QPointF(12, 17));
        fillGlyph(p, c);
        p.drawEllipse(QPointF(12, 7.5), 1.4, 1.4);
        break;
    case Glyph::Home:
        strokeGlyph(p, c);
        p.drawPolyline(QPolygonF{QPointF(2.5, 11.5), QPointF(12, 3.5), QPointF(21.5, 11.5)});
        p.drawPolyline(QPolygonF{QPointF(5.5, 9.5), QPointF(5.5, 20.5), QPointF(18.5, 20.5), QPointF(18.5, 9.5)});
        p.drawPolyline(QPolygonF{QPointF(10, 20.5), QPointF(10, 14.5), QPointF(14, 14.5), QPointF(14, 20.5)});
        break;
    case Glyph::Check:
        p.setPen(QPen(c, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF{QPointF(5, 12.5), QPointF(10, 17.5), QPointF(19, 7)});
        break;
    }
}

// Draws a glyph into a square box of the canvas.
void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour) {
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 24.0, box.height() / 24.0);
    drawGlyphOnGrid(p, glyph, colour);
    p.restore();
}

QRectF squareIn(const QRectF& area, double side) {
    return QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
}

// ---- Canvases and files ----

QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage paintOn(int width, int height, const std::function<void(QPainter&)>& draw) {
    QImage image = canvas(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return image;
}

// A 32-bit BMP with a BITMAPV4HEADER, bit-field masks and straight (not premultiplied) alpha, rows bottom-up.
QByteArray bmpWithAlpha(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const quint32 headerSize = 14 + 108;
    const quint32 pixelBytes = quint32(image.width()) * quint32(image.height()) * 4;
    QByteArray data(int(headerSize + pixelBytes), '\0');
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, data.data() + at); };
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, data.data() + at); };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, headerSize + pixelBytes);
    put32(10, headerSize);
    put32(14, 108); // BITMAPV4HEADER
    put32(18, quint32(image.width()));
    put32(22, quint32(image.height())); // positive: bottom-up
    put16(26, 1);                       // planes
    put16(28, 32);                      // bits per pixel
    put32(30, 3);                       // BI_BITFIELDS
    put32(34, pixelBytes);
    put32(38, 2835); // 72 dpi
    put32(42, 2835);
    put32(54, 0x00FF0000); // red mask
    put32(58, 0x0000FF00); // green
    put32(62, 0x000000FF); // blue
    put32(66, 0xFF000000); // alpha
    put32(70, 0x73524742); // 'sRGB'
    int at = int(headerSize);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, at += 4)
            put32(at, row[x]);
    }
    return data;
}

bool gForce = false;
QString gOnly;

bool save(const QString& bundle, const QString& name, const QImage& image) {
    if (!gOnly.isEmpty() && !name.startsWith(gOnly))
        return true;
    const QString path = bundle + QLatin1Char('/') + name;
    if (!gForce && QFileInfo::exists(path))
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    bool ok = false;
    if (name.endsWith(QLatin1String(".bmp"))) {
        QFile file(path);
        ok = file.open(QIODevice::WriteOnly) && file.write(bmpWithAlpha(image)) > 0;
    } else {
        ok = image.save(path, "PNG");
    }
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// ---- Looks ----

const Look kLooks[] = {Look::Normal, Look::On, Look::Down, Look::Disable};

QString suffix(Look look) {
    switch (look) {
    case Look::Normal:
        return QStringLiteral("_Normal");
    case Look::On:
        return QStringLiteral("_On");
    case Look::Down:
        return QStringLiteral("_Down");
    case Look::Disable:
        return QStringLiteral("_Disable");
    }
    return {};
}

void verticalGradientFill(QPainter& p, const QRectF& r, double radius, const QColor& top, const QColor& bottom) {
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

// A launcher tool button: a blue card with a white glyph in its lower part (the caption is drawn over the top).
QImage toolTile(Glyph glyph, Look look) {
    const int w = 150, h = 120;
    return paintOn(w, h, [&](QPainter& p) {
        const QRectF card(2, 2, w - 4, h - 4);
        QColor top(54, 190, 242), bottom(24, 158, 220), ink = Qt::white;
        if (look == Look::On) {
            top = QColor(92, 206, 250);
            bottom = QColor(44, 180, 238);
        } else if (look == Look::Down) {
            top = QColor(20, 138, 196);
            bottom = QColor(14, 118, 176);
        } else if (look == Look::Disable) {
            top = QColor(196, 206, 214);
            bottom = QColor(178, 190, 200);
            ink = QColor(255, 255, 255, 200);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 40, 70, look == Look::Down ? 20 : 40));
        p.drawRoundedRect(card.translated(0, 1.5), 12, 12);
        verticalGradientFill(p, card, 12, top, bottom);
        if (look == Look::On) {
            p.setPen(QPen(QColor(255, 255, 255, 170), 2));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(card.adjusted(1, 1, -1, -1), 11, 11);
        }
        const double shift = look == Look::Down ? 1.5 : 0;
        drawGlyph(p, glyph, squareIn(QRectF(0, 28 + shift, w, h - 36), 56), ink);
    });
}

// A round media button in the player's style: a dark translucent disc with a white ring and glyph; blue when
// the pointer is over it or it is pressed.
QImage roundButton(Glyph glyph, Look look, int side = 31) {
    return paintOn(side, side, [&](QPainter& p) {
        QColor ring = Qt::white, fill(0, 0, 0, 90), ink = Qt::white;
        if (look == Look::On) {
            fill = QColor(33, 176, 235, 200);
        } else if (look == Look::Down) {
            fill = kTheme;
            ring = QColor(20, 110, 170);
        } else if (look == Look::Disable) {
            fill = QColor(0, 0, 0, 40);
            ring = QColor(255, 255, 255, 110);
            ink = QColor(255, 255, 255, 120);
        }
        const double inset = side / 20.0;
        p.setPen(QPen(ring, side / 15.5));
        p.setBrush(fill);
        p.drawEllipse(QRectF(inset, inset, side - 2 * inset, side - 2 * inset));
        drawGlyph(p, glyph, squareIn(QRectF(0, 0, side, side), side * 0.55), ink);
    });
}

// A plain glyph on a transparent ground, e.g. beside a caption.
QImage glyphIcon(Glyph glyph, int side, const QColor& colour) {
    return paintOn(side, side, [&](QPainter& p) { drawGlyph(p, glyph, QRectF(0, 0, side, side), colour); });
}

struct PillColours {
    QColor top, bottom, border;
};

// The back of a text button; the title is drawn over it by the button.
QImage pill(int w, int h, const PillColours& colours, Glyph glyph = Glyph::None, const QColor& ink = Qt::white) {
    return paintOn(w, h, [&](QPainter& p) {
        const QRectF r(0.5, 0.5, w - 1, h - 1);
        const double radius = std::min(h / 2.0 - 0.5, 6.0);
        verticalGradientFill(p, r, radius, colours.top, colours.bottom);
        p.setPen(QPen(colours.border, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r, radius, radius);
        if (glyph != Glyph::None)
            drawGlyph(p, glyph, squareIn(r, h * 0.62), ink);
    });
}

PillColours lightPill(Look look) {
    switch (look) {
    case Look::On:
        return {QColor(240, 250, 255), QColor(222, 242, 252), kTheme};
    case Look::Down:
        return {QColor(206, 232, 246), QColor(190, 222, 240), kThemeDark};
    case Look::Disable:
        return {QColor(240, 242, 244), QColor(232, 235, 238), QColor(210, 215, 220)};
    case Look::Normal:
        break;
    }
    return {QColor(255, 255, 255), QColor(238, 242, 245), QColor(196, 204, 212)};
}

PillColours bluePill(Look look, const QColor& base) {
    switch (look) {
    case Look::On:
        return {base.lighter(118), base.lighter(108), QColor(255, 255, 255, 200)};
    case Look::Down:
        return {base.darker(125), base.darker(115), QColor(255, 255, 255, 140)};
    case Look::Disable:
        return {QColor(176, 194, 206), QColor(162, 182, 196), QColor(255, 255, 255, 90)};
    case Look::Normal:
        break;
    }
    return {base.lighter(108), base.darker(106), QColor(255, 255, 255, 150)};
}

// A flat strip that image views stretch over a whole track: no rounding, so stretching keeps it clean.
QImage strip(int w, int h, const QColor& colour) {
    return paintOn(w, h, [&](QPainter& p) {
        p.fillRect(QRectF(0, 0, w, h), colour);
        p.fillRect(QRectF(0, 0, w, 1), QColor(255, 255, 255, 50));
    });
}

QImage checkBox(bool checked, int side = 16) {
    return paintOn(side, side, [&](QPainter& p) {
        const QRectF r(1, 1, side - 2, side - 2);
        p.setPen(QPen(checked ? kThemeDark : QColor(150, 160, 170), 1));
        p.setBrush(checked ? kTheme : QColor(Qt::white));
        p.drawRoundedRect(r, 3, 3);
        if (checked)
            drawGlyph(p, Glyph::Check, r.adjusted(1, 1, -1, -1), Qt::white);
    });
}

QImage field(int w, int h) {
    return paintOn(w, h, [&](QPainter& p) {
        p.setPen(QPen(QColor(196, 204, 212), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
    });
}

// A placeholder picture for a file without video: a music note on a blue gradient.
QImage musicPicture(const QColor& top, const QColor& bottom) {
    const int w = 285, h = 180;
    return paintOn(w, h, [&](QPainter& p) {
        QLinearGradient fill(0, 0, w, h);
        fill.setColorAt(0, top);
        fill.setColorAt(1, bottom);
        p.fillRect(QRectF(0, 0, w, h), fill);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 36));
        p.drawEllipse(QPointF(w / 2.0, h / 2.0), 64, 64);
        drawGlyph(p, Glyph::Music, squareIn(QRectF(0, 0, w, h), 84), QColor(255, 255, 255, 235));
    });
}

QImage appIcon() {
    const int side = 128;
    return paintOn(side, side, [&](QPainter& p) {
        const QRectF r(6, 6, side - 12, side - 12);
        verticalGradientFill(p, r, 26, QColor(64, 198, 246), QColor(20, 140, 206));
        // A film frame with sprocket holes, cut by scissors.
        p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        const QRectF film(28, 34, 72, 52);
        p.drawRoundedRect(film, 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (int i = 0; i < 4; ++i) {
            p.drawRoundedRect(QRectF(36 + i * 16, 42, 8, 6), 1.5, 1.5);
            p.drawRoundedRect(QRectF(36 + i * 16, 72, 8, 6), 1.5, 1.5);
        }
        drawTriangle(p, Qt::white, QRectF(58, 52, 14, 16));
        drawGlyph(p, Glyph::Scissors, QRectF(72, 70, 40, 40), QColor(255, 214, 90));
    });
}

// ---- What the bundle holds ----

struct Named {
    const char* name;
    Glyph glyph;
};

bool paintAll(const QString& bundle) {
    bool ok = true;
    auto put = [&](const QString& name, const QImage& image) { ok &= save(bundle, name, image); };

    // The launcher's eleven tool buttons.
    const Named tools[] = {{"Crop", Glyph::Crop},         {"Effect", Glyph::Effect},
                           {"Subtitle", Glyph::Subtitle}, {"Watermark", Glyph::Watermark},
                           {"Join", Glyph::Join},         {"EasyCut", Glyph::Scissors},
                           {"BatchCut", Glyph::BatchCut}, {"AdvancedCut", Glyph::AdvancedCut},
                           {"Rotation", Glyph::Rotate},   {"Music", Glyph::Music},
                           {"Split", Glyph::Split}};
    for (const Named& tool : tools)
        for (Look look : kLooks)
            put(QStringLiteral("Main/btn%1%2.bmp").arg(tool.name, suffix(look)), toolTile(tool.glyph, look));
    put("Main/btnAbout_Normal.png", glyphIcon(Glyph::Info, 22, kTheme));
    put("Main/btnHomepage_Normal.png", glyphIcon(Glyph::Home, 22, kTheme));

    // The editor's tool tabs: white glyphs beside their titles.
    const Named tabs[] = {{"Cut", Glyph::AdvancedCut},     {"Crop", Glyph::Crop},         {"Effect", Glyph::Effect},
                          {"WaterMark", Glyph::Watermark}, {"Subtitle", Glyph::Subtitle}, {"Rotation", Glyph::Rotate},
                          {"Music", Glyph::Music}};
    // The pressed look is also the chosen tab's: a dark glyph on the blue strip; disabled tabs are faint.
    const auto tabColour = [](Look look) {
        switch (look) {
        case Look::On:
            return QColor(225, 245, 255);
        case Look::Down:
            return QColor(10, 70, 120);
        case Look::Disable:
            return QColor(255, 255, 255, 110);
        default:
            return QColor(Qt::white);
        }
    };
    for (const Named& tab : tabs)
        for (Look look : kLooks)
            put(QStringLiteral("SubFun/btn%1%2.bmp").arg(tab.name, suffix(look)),
                glyphIcon(tab.glyph, 28, tabColour(look)));

    // Text buttons.
    for (Look look : kLooks) {
        const QString s = suffix(look);
        put("About/btnOK" + s + ".bmp", pill(88, 30, lightPill(look)));
        put("SubFun/btnStart" + s + ".bmp", pill(140, 40, bluePill(look, QColor(0, 124, 196))));
        put("About/btnAddFile" + s + ".bmp", pill(160, 40, bluePill(look, QColor(90, 216, 238))));
        put("About/btnAddFile_Small" + s + ".bmp", pill(32, 32, bluePill(look, QColor(90, 216, 238)), Glyph::Plus));
        put("Cut/btnCopy" + s + ".bmp", pill(50, 20, lightPill(look)));
        put("Cut/btnModify" + s + ".bmp", pill(40, 20, lightPill(look)));
        put("Cut/btnDeleted" + s + ".bmp", pill(50, 20, lightPill(look)));
        put("Cut/btnCut" + s + ".bmp", pill(90, 30, lightPill(look)));
    }
    put("Resources/edit_cancel_normal.png", pill(80, 26, lightPill(Look::Normal)));
    put("Resources/edit_cancel_alternate.png", pill(80, 26, lightPill(Look::Down)));

    // Round media and list buttons, four looks each.
    const Named round[] = {{"Cut/btnClear", Glyph::Trash},
                           {"Cut/btnCloseVolume", Glyph::VolumeOff},
                           {"Cut/btnOpenVolume", Glyph::VolumeOn},
                           {"Cut/btnMoveUp", Glyph::ArrowUp},
                           {"Cut/btnMoveDown", Glyph::ArrowDown},
                           {"Cut/btnSetStartTime", Glyph::SetStart},
                           {"Cut/btnSetEndTime", Glyph::SetEnd},
                           {"Cut/btnPlay", Glyph::Play},
                           {"Cut/btnPause", Glyph::Pause},
                           {"Cut/btnPreview", Glyph::Preview},
                           {"Cut/btnStop", Glyph::Stop},
                           {"Join/btnCapture", Glyph::Camera},
                           {"Join/btnCaptureSet", Glyph::Gear},
                           {"Join/btnPlay", Glyph::Play},
                           {"Join/btnPause", Glyph::Pause},
                           {"Join/btnStop", Glyph::Stop},
                           {"SubFun/btnAddPicWaterMark", Glyph::AddPicture},
                           {"SubFun/btnAddTextWaterMark", Glyph::AddText},
                           {"SubFun/btnDeleteWaterMark", Glyph::Trash}};
    for (const Named& button : round)
        for (Look look : kLooks)
            put(QString::fromLatin1(button.name) + suffix(look) + ".png", roundButton(button.glyph, look));
    // The pause pictures are also asked for as BMPs.
    put("Cut/btnPause_On.bmp", roundButton(Glyph::Pause, Look::On));
    put("Cut/btnPause_Down.bmp", roundButton(Glyph::Pause, Look::Down));
    put("SubFun/btnBrowse_Down.png", glyphIcon(Glyph::Folder, 24, Qt::white));

    // The splitter's point buttons (1 normal, 3 pressed, 4 disabled) and its timeline markers.
    const Named points[] = {{"Split/btnHandSplit", Glyph::Split},
                            {"Split/btnLastPoint", Glyph::ArrowLeft},
                            {"Split/btnNextPoint", Glyph::ArrowRight},
                            {"Split/btnRemovePoint", Glyph::Trash}};
    for (const Named& button : points) {
        put(QString::fromLatin1(button.name) + "_1.bmp", roundButton(button.glyph, Look::Normal));
        put(QString::fromLatin1(button.name) + "_3.bmp", roundButton(button.glyph, Look::Down));
        put(QString::fromLatin1(button.name) + "_4.bmp", roundButton(button.glyph, Look::Disable));
    }
    // A marker of 17 x 17 pointing at the track: down from above (the begin marker) or up from below (a point).
    auto marker = [](bool pointsDown, const QColor& colour) {
        return paintOn(17, 17, [pointsDown, colour](QPainter& p) {
            QPainterPath pin;
            if (pointsDown) {
                pin.addRoundedRect(QRectF(2, 0.5, 13, 10), 3, 3);
                pin.moveTo(4, 9);
                pin.lineTo(8.5, 16.5);
                pin.lineTo(13, 9);
            } else {
                pin.addRoundedRect(QRectF(2, 6.5, 13, 10), 3, 3);
                pin.moveTo(4, 8);
                pin.lineTo(8.5, 0.5);
                pin.lineTo(13, 8);
            }
            p.setPen(QPen(Qt::white, 1.2));
            p.setBrush(colour);
            p.drawPath(pin.simplified());
        });
    };
    put("Split/imgBegin_1.bmp", marker(true, kTheme));
    put("Split/imgBegin_2.bmp", marker(true, kThemeDark));
    put("Split/btnExample_2.bmp", marker(false, QColor(245, 130, 32)));

    // The rotate panel's buttons: a quarter turn either way, and the two mirrors.
    const QImage turn = glyphIcon(Glyph::Rotate, 32, Qt::white);
    const QImage mirror = glyphIcon(Glyph::Mirror, 32, Qt::white);
    put(QString::fromUtf8("SubFun/旋转-右.png"), turn);
    put(QString::fromUtf8("SubFun/旋转-左.png"), turn.mirrored(true, false));
    put(QString::fromUtf8("SubFun/左右翻转.png"), mirror);
    put(QString::fromUtf8("SubFun/上下翻转.png"), mirror.transformed(QTransform().rotate(90)));

    // Sliders and tracks (stretched by image views).
    put("Cut/imgBack.bmp", strip(16, 8, QColor(198, 208, 216)));
    put("Cut/imgTop.bmp", strip(16, 8, kTheme));
    put("Cut/pbTop.bmp", strip(16, 8, QColor(245, 166, 35)));
    put("Resources/play_notplayed_bkg.png", strip(16, 10, QColor(198, 208, 216)));
    put("Resources/edit_trim_focus.png", strip(16, 10, kHighlight));
    put("Resources/play_played_bkg.png", strip(16, 10, kThemeDark));
    put("Cut/btnSlip_Normal.png", paintOn(12, 12, [](QPainter& p) {
            p.setPen(QPen(kThemeDark, 1.5));
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(1, 1, 10, 10));
        }));
    put("Resources/edit_trimknob_normal.png", paintOn(15, 24, [](QPainter& p) {
            QPainterPath pin;
            pin.addRoundedRect(QRectF(1, 1, 13, 12), 3, 3);
            pin.moveTo(3, 12);
            pin.lineTo(7.5, 17);
            pin.lineTo(12, 12);
            p.setPen(QPen(Qt::white, 1.2));
            p.setBrush(QColor(245, 130, 32));
            p.drawPath(pin.simplified());
            p.fillRect(QRectF(6.75, 16, 1.5, 8), QColor(245, 130, 32));
        }));
    auto handle = [](bool left) {
        return paintOn(9, 12, [left](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(kThemeDark);
            p.drawRoundedRect(QRectF(0, 0, 9, 12), 2, 2);
            p.fillRect(QRectF(left ? 5 : 2.5, 3, 1.5, 6), QColor(255, 255, 255, 220));
        });
    };
    put("Resources/edit_trimleft_normal.png", handle(true));
    put("Resources/edit_trimright_normal.png", handle(false));
    put("Resources/MergeBackground.png", paintOn(48, 24, [](QPainter& p) {
            p.setPen(QPen(QColor(180, 190, 200), 1));
            p.setBrush(QColor(222, 228, 234));
            p.drawRoundedRect(QRectF(0.5, 0.5, 47, 23), 11.5, 11.5);
        }));
    put("Resources/MergeKnob.png", paintOn(24, 24, [](QPainter& p) {
            p.setPen(QPen(kThemeDark, 1));
            p.setBrush(kTheme);
            p.drawEllipse(QRectF(1.5, 1.5, 21, 21));
        }));

    // Check boxes, fields, panels and separators.
    put("Join/CheckBox_NoCheck.bmp", checkBox(false));
    put("Join/CheckBox_Checked.bmp", checkBox(true));
    put("Resources/checkNoFiles.png", checkBox(false));
    put("Resources/checkFiles.png", checkBox(true));
    put("Resources/trim_textfield.png", field(151, 26));
    // The subtitle panel's position box: a soft group frame, its title above a faint rule and the slider below.
    put("Resources/WSBoxA1.png", paintOn(200, 60, [](QPainter& p) {
            p.setPen(QPen(QColor(196, 204, 212), 1));
            p.setBrush(QColor(246, 248, 250));
            p.drawRoundedRect(QRectF(0.5, 0.5, 199, 59), 6, 6);
            p.fillRect(QRectF(8, 30, 184, 1), QColor(218, 224, 230));
        }));
    put("Cut/imgWelcome_center.bmp", field(135, 22));
    put("Resources/blankBkg.bmp", strip(8, 1, QColor(255, 255, 255, 110)));
    put("Cut/imgActionBottom.bmp", paintOn(168, 48, [](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(34, 46, 58, 210));
            p.drawRoundedRect(QRectF(0, 0, 168, 48), 8, 8);
        }));
    put("Cut/ListBottom_Normal.bmp", strip(120, 24, QColor(232, 236, 240)));
    put("Cut/ListBottom_Select.bmp", strip(120, 24, kTheme));

    // Pictures.
    put("Resources/defaultMusicZoom.png", musicPicture(QColor(74, 196, 244), QColor(38, 110, 196)));
    put("Cut/musicIconB.png", musicPicture(QColor(56, 186, 214), QColor(26, 96, 170)));
    put("Join/imgEmail.png", glyphIcon(Glyph::Envelope, 32, kTheme));
    put("im/app_Icon.png", appIcon());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QString bundle;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--force"))
            gForce = true;
        else if (args.at(i) == QLatin1String("--only") && i + 1 < args.size())
            gOnly = args.at(++i);
        else
            bundle = args.at(i);
    }
    if (bundle.isEmpty()) {
        std::fprintf(stderr, "usage: paint_bundle_icons <Settings.bundle folder> [--force] [--only <prefix>]\n");
        return 2;
    }
    return paintAll(bundle) ? 0 : 1;
}
