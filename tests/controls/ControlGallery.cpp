// Renders every control of the kit in each of its states to PNG files, so that a person can look at them, and
// fails when a picture is blank (one colour throughout). Usage: controls_gallery <output folder>.

#include "EffectTableCellView.h"
#include "ImageLayerView.h"
#include "JoinnerCell.h"
#include "JoinnerTableView.h"
#include "LQButton.h"
#include "LQCropTmpView.h"
#include "LQCustomButton.h"
#include "LQCutProgressView.h"
#include "LQProgressSlider.h"
#include "LQRadioButton.h"
#include "LQSwitchButton.h"
#include "LQTextField.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MOQPosition.h"
#include "MOQView.h"
#include "MergeButton.h"
#include "NSProgressView.h"
#include "ResourceBundle.h"
#include "SimpleData.h"
#include "ViewFrame.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

const QColor WindowBlue(33, 176, 235);
// The dark bar the trim sliders and progress bars sit on under a player.
const QColor PanelGrey(52, 56, 64);

// A window-coloured stage around one control, shown offscreen so that pointer events reach the control.
class Stage {
public:
    Stage(double width, double height, QColor background = WindowBlue) : _window(std::make_unique<QWidget>()) {
        _window->resize(int(width) + 20, int(height) + 20);
        _window->setAutoFillBackground(true);
        QPalette p = _window->palette();
        p.setColor(QPalette::Window, background);
        _window->setPalette(p);
        _window->show();
        if (!QTest::qWaitForWindowExposed(_window.get()))
            std::fprintf(stderr, "gallery window not exposed\n");
    }
    QWidget* window() const { return _window.get(); }
    ViewRect slot(double width, double height) const { return ViewRect{10, 10, width, height}; }

private:
    std::unique_ptr<QWidget> _window;
};

QPoint at(QWidget* w, double x, double y) {
    return ViewFrame::pointToQt(w, ViewPoint{x, y}).toPoint();
}

QImage image(const char* name) {
    return ResourceBundle::imageWithfileName(QString::fromLatin1(name));
}

QImage thumbnail() {
    QImage picture(160, 90, QImage::Format_ARGB32);
    QPainter p(&picture);
    QLinearGradient sky(0, 0, 0, 90);
    sky.setColorAt(0, QColor(90, 150, 220));
    sky.setColorAt(1, QColor(240, 200, 120));
    p.fillRect(picture.rect(), sky);
    p.setBrush(QColor(60, 110, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(-20, 55, 120, 70));
    p.drawEllipse(QRectF(70, 60, 130, 60));
    return picture;
}

std::shared_ptr<SimpleData> clip(const QString& name, int width, int height, bool defaultFormat) {
    auto data = std::make_shared<SimpleData>();
    data->setPath("/home/user/Videos/" + name);
    data->setSelected(false);
    data->setThumbImage(width > 0 ? thumbnail() : QImage());
    data->sourceData()->setWidth(width);
    data->sourceData()->setHeight(height);
    data->sourceData()->setDuration(3725.5f);
    data->sourceData()->setFileSize(width > 0 ? 184.2f : 0.5f);
    data->setCutTimeRange_start(1000000);
    data->setCutTimeRange_stop(4500000);
    data->setDefaultFormat(defaultFormat);
    data->setTransitionEffect(width > 0 ? 3 : 0);
    return data;
}

class Gallery {
public:
    explicit Gallery(QString folder) : _folder(std::move(folder)) { QDir().mkpath(_folder); }

    // Saves the stage and records whether it is blank.
    void shoot(const Stage& stage, const QString& name) {
        QApplication::processEvents();
        const QImage picture = stage.window()->grab().toImage();
        const QString path = _folder + "/" + name + ".png";
        if (!picture.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++_failures;
        }
        if (isBlank(picture)) {
            std::fprintf(stderr, "blank picture: %s\n", qPrintable(name));
            ++_failures;
        }
        ++_count;
        _sheet.push_back({name, picture});
    }

    // Writes the pictures taken since the last sheet onto one labelled sheet, for looking at a group at once.
    void writeSheet(const QString& group) {
        const int labelHeight = 16;
        int width = 200;
        int height = 0;
        for (const auto& [name, picture] : _sheet) {
            width = std::max(width, picture.width());
            height += labelHeight + picture.height() + 6;
        }
        QImage sheet(width, std::max(1, height), QImage::Format_ARGB32);
        sheet.fill(QColor(90, 90, 90));
        QPainter p(&sheet);
        p.setPen(Qt::white);
        int y = 0;
        for (const auto& [name, picture] : _sheet) {
            p.drawText(QRect(4, y, width - 8, labelHeight), Qt::AlignLeft | Qt::AlignVCenter, name);
            y += labelHeight;
            p.drawImage(0, y, picture);
            y += picture.height() + 6;
        }
        p.end();
        sheet.save(_folder + "/sheet_" + group + ".png");
        _sheet.clear();
    }
    int failures() const { return _failures; }
    int count() const { return _count; }

private:
    static bool isBlank(const QImage& picture) {
        const QRgb first = picture.pixel(0, 0);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixel(x, y) != first)
                    return false;
        return true;
    }

    QString _folder;
    std::vector<std::pair<QString, QImage>> _sheet;
    int _failures = 0;
    int _count = 0;
};

void imageButtons(Gallery& g) {
    const char* states[] = {"normal", "hover", "pressed", "selected", "disabled"};
    for (const char* state : states) {
        Stage stage(118, 118);
        auto* b = new MOQButton(stage.slot(118, 118), stage.window());
        b->setBordered(false);
        b->setNormalImage(image("Main/btnCrop_Normal.bmp"));
        b->setOnImage(image("Main/btnCrop_On.bmp"));
        b->setDownImage(image("Main/btnCrop_Down.bmp"));
        b->setDisAbleImage(image("Main/btnCrop_Disable.bmp"));
        b->setSelectedImage(image("Main/btnCrop_Down.bmp"));
        b->show();
        const QString s = QString::fromLatin1(state);
        if (s == "hover" || s == "pressed")
            QTest::mouseMove(b, at(b, 59, 59));
        if (s == "pressed")
            QTest::mousePress(b, Qt::LeftButton, {}, at(b, 59, 59));
        if (s == "selected")
            b->setSelected(true);
        if (s == "disabled")
            b->setEnabled(false);
        g.shoot(stage, "MOQButton_tool_" + s);
        if (s == "pressed")
            QTest::mouseRelease(b, Qt::LeftButton, {}, at(b, 59, 59));
    }

    for (bool enabled : {true, false}) {
        Stage stage(160, 32);
        auto* b = new MOQButton(stage.slot(160, 32), stage.window());
        b->setBordered(false);
        b->setBackGroundColor(QColor(20, 120, 200));
        b->setDisAblebackGroundColor(QColor(200, 200, 200));
        b->setCornerRadius(6);
        b->setBordColor(Qt::white);
        b->setBorderWidth(1);
        b->setContentTitle("Start");
        b->setEnabled(enabled);
        b->show();
        g.shoot(stage, QString("MOQButton_titled_%1").arg(enabled ? "enabled" : "disabled"));
    }

    for (bool checked : {false, true}) {
        Stage stage(200, 20, Qt::white);
        auto* b = new MOQButton(stage.slot(200, 20), stage.window());
        b->setBordered(false);
        b->setNormalImage(image("Join/CheckBox_NoCheck.bmp"));
        b->setSelectedImage(image("Join/CheckBox_Checked.bmp"));
        b->setContentImagePosition(1);
        b->setContentTitle("  Keep the original size");
        b->setContentColor(Qt::black);
        b->setSelected(checked);
        b->show();
        g.shoot(stage, QString("MOQButton_checkbox_%1").arg(checked ? "checked" : "clear"));
    }

    Stage link(160, 24, Qt::white);
    auto* l = new MOQButton(link.slot(160, 24), link.window());
    l->setBordered(false);
    l->setContentTitle("Visit the homepage");
    l->setContentColor(QColor(20, 100, 200));
    l->setUnderLine(true);
    l->setTitlePosition(std::make_shared<MOQPosition>(0, 4, 0, 0));
    l->show();
    g.shoot(link, "MOQButton_link");
}

void views(Gallery& g) {
    {
        Stage stage(120, 80);
        auto* v = new MOQImageView(stage.slot(120, 80), stage.window());
        v->setBackGroundColor(QColor(40, 40, 48));
        v->setCornerRadius(8);
        v->setBordColor(Qt::white);
        v->setBorderWidth(2);
        v->setNormalImage(image("Resources/setingParam.png"));
        v->show();
        g.shoot(stage, "MOQImageView_panel");
    }
    {
        Stage stage(76, 48);
        auto* v = new MOQImageView(stage.slot(76, 48), stage.window());
        v->setImage(thumbnail());
        v->show();
        g.shoot(stage, "MOQImageView_thumbnail");
    }
    {
        Stage stage(200, 100);
        auto* v = new MOQView(stage.slot(200, 100), stage.window());
        v->setBackGroundColor(QColor(245, 245, 245));
        v->setCornerRadius(10);
        v->setBordColor(QColor(120, 120, 120));
        v->setBorderWidth(1);
        v->show();
        g.shoot(stage, "MOQView_panel");
    }
    {
        Stage stage(160, 90);
        auto* picture = new MOQImageView(stage.slot(160, 90), stage.window());
        picture->setImage(thumbnail());
        picture->show();
        // The crop overlay's shade: four half-transparent views around a clear box.
        const ViewRect shades[] = {{10, 10, 160, 20}, {10, 80, 160, 20}, {10, 30, 40, 50}, {130, 30, 40, 50}};
        for (const ViewRect& r : shades) {
            auto* shade = new LQCropTmpView(stage.window());
            shade->setBackgroundColor(QColor(0, 0, 0, 128));
            ViewFrame::setFrame(shade, r);
            shade->show();
        }
        g.shoot(stage, "LQCropTmpView_crop_shade");
    }
}

void tilesAndButtons(Gallery& g) {
    // As the format browser's category bar makes them: text only, a highlight back image when selected.
    const char* looks[] = {"normal", "selected", "disabled"};
    for (const char* look : looks) {
        Stage stage(120, 24, QColor(48, 52, 60));
        auto* tile = new LQCustomButton(stage.slot(120, 24), stage.window());
        tile->setSelectedBackImage(image("Resources/selImageView.png"));
        tile->setHightideBackImage(image("Resources/selImageView.png"));
        tile->setNormalTitleColor(QColor::fromRgbF(207 / 255.0f, 207 / 255.0f, 207 / 255.0f, 0.8f));
        tile->setSelectedTitleColor(QColor::fromRgbF(1, 1, 1, 0.8f));
        tile->setCellTextPosition(4);
        tile->setFontsize(13);
        tile->setTitle("Video");
        const QString s = QString::fromLatin1(look);
        tile->setEnabled(s != "disabled");
        tile->setSelected(s == "selected");
        tile->show();
        g.shoot(stage, "LQCustomButton_" + s);
    }

    for (const char* state : {"normal", "pressed", "selected"}) {
        Stage stage(100, 30);
        auto* b = new LQButton(stage.slot(100, 30), stage.window());
        b->setTitle("Cancel");
        b->show();
        const QString s = QString::fromLatin1(state);
        if (s == "pressed")
            QTest::mousePress(b, Qt::LeftButton, {}, at(b, 50, 15));
        if (s == "selected")
            QTest::mouseClick(b, Qt::LeftButton, {}, at(b, 50, 15));
        g.shoot(stage, "LQButton_" + s);
    }

    for (const char* state : {"off", "on", "disabled"}) {
        Stage stage(180, 30, Qt::white);
        auto* r = new LQRadioButton(stage.slot(180, 30), stage.window());
        r->setTitle("Keep the range");
        r->setDisabledColor(QColor(173, 173, 173));
        const QString s = QString::fromLatin1(state);
        r->setSelected(s != "off");
        r->setEnabled(s != "disabled");
        r->show();
        g.shoot(stage, "LQRadioButton_" + s);
    }

    for (bool on : {false, true}) {
        Stage stage(140, 24);
        auto* sw = new LQSwitchButton(stage.slot(140, 24), stage.window());
        sw->setTitle("Loop music");
        sw->setNormalImage(image("Join/CheckBox_NoCheck.bmp"));
        sw->setSelectedImage(image("Join/CheckBox_Checked.bmp"));
        sw->setNormalColor(Qt::white);
        sw->setSelectedColor(Qt::white);
        sw->setSelected(on);
        sw->show();
        g.shoot(stage, QString("LQSwitchButton_%1").arg(on ? "on" : "off"));
    }

    for (bool right : {false, true}) {
        Stage stage(60, 24);
        auto* m = new MergeButton(stage.slot(60, 24), stage.window());
        m->setselected(right);
        m->show();
        g.shoot(stage, QString("MergeButton_%1").arg(right ? "right" : "left"));
    }
}

void sliders(Gallery& g) {
    for (float value : {0.0f, 0.5f, 1.0f}) {
        Stage stage(300, 20);
        auto* s = new LQProgressSlider(stage.slot(300, 20), stage.window());
        s->setProgress(value);
        s->show();
        g.shoot(stage, QString("LQProgressSlider_%1").arg(int(value * 100)));
    }

    // Under a player on the dark bar, and a few straight on the window, where the highlight must read as well.
    struct Range {
        long long skin;
        bool inverted;
        bool disabled;
        bool onWindow = false;
    };
    for (const Range& r : {Range{0, false, false}, Range{0, true, false}, Range{1, false, false}, Range{1, true, false},
                           Range{2, false, false}, Range{0, false, true}, Range{0, false, false, true},
                           Range{0, true, false, true}, Range{2, false, false, true}}) {
        Stage stage(400, 34, r.onWindow ? WindowBlue : PanelGrey);
        auto* v = new LQCutProgressView(stage.slot(400, 34), stage.window());
        v->setFrame(stage.slot(400, 34));
        v->setType(r.skin);
        v->setIsFanxuan(r.inverted);
        v->setLowerValueUpperValue(0.2f, 0.7f);
        v->setProgress(0.45f);
        v->setTickMark(true);
        v->setDisable(r.disabled);
        v->show();
        g.shoot(stage, QString("LQCutProgressView_skin%1_%2%3%4")
                           .arg(r.skin)
                           .arg(r.inverted ? "inverted" : "normal")
                           .arg(r.disabled ? "_disabled" : "")
                           .arg(r.onWindow ? "_on_window" : ""));
    }

    for (float value : {0.3f, 1.0f}) {
        Stage stage(300, 10, PanelGrey);
        auto* bar = new NSProgressView(stage.slot(300, 10), stage.window());
        bar->setProgress(value);
        bar->show();
        g.shoot(stage, QString("NSProgressView_%1").arg(int(value * 100)));
    }

    for (bool enabled : {false, true}) {
        Stage stage(44, 22);
        auto* f = new LQTextField(stage.slot(44, 22), stage.window());
        f->setStringValue("01");
        f->setAlignment(Qt::AlignCenter);
        f->setEnabled(enabled);
        f->show();
        g.shoot(stage, QString("LQTextField_%1").arg(enabled ? "enabled" : "disabled"));
    }
}

void lists(Gallery& g) {
    struct Row {
        const char* name;
        bool checked;
        bool highlighted;
        bool enabled;
    };
    for (const Row& r : {Row{"clear", false, false, true}, Row{"checked", true, false, true},
                         Row{"highlighted", true, true, true}, Row{"disabled", false, false, false}}) {
        Stage stage(220, 26);
        auto* row = new EffectTableCellView(stage.slot(220, 26), stage.window());
        row->titleLabel()->setText("Old film");
        row->setSelectedColor(Qt::white); // as the editor colours a highlighted music row's title
        row->selected(r.checked);
        row->setSelectedRow(r.highlighted);
        row->setEnable(r.enabled);
        row->show();
        g.shoot(stage, QString("EffectTableCellView_%1").arg(r.name));
    }

    struct Cell {
        const char* name;
        bool selected;
        bool video;
        bool progress;
    };
    for (const Cell& c : {Cell{"normal", false, true, false}, Cell{"selected", true, true, false},
                          Cell{"audio_only", false, false, false}, Cell{"exporting", true, true, true}}) {
        Stage stage(640, 60);
        auto* row = new JoinnerCell(stage.slot(640, 60), stage.window());
        row->setNBackGroundColor(QColor(237, 237, 237));
        row->setSBackGroundColor(QColor(90, 216, 238));
        row->setFileData(clip(c.video ? "holiday.mp4" : "voice.m4a", c.video ? 1920 : 0, c.video ? 1080 : 0, true));
        row->setSelected(c.selected);
        if (c.progress) {
            // The batch cutter's rows, which show progress, have no default-format check.
            row->defaultoutputformat()->setHidden(true);
            row->progress()->setHidden(false);
            row->progress()->setProgress(0.6f);
        }
        row->show();
        g.shoot(stage, QString("JoinnerCell_%1").arg(c.name));
    }

    Stage stage(640, 230);
    auto* list = new JoinnerTableView(stage.slot(640, 230), stage.window());
    auto items = std::make_shared<SimpleDataList>(SimpleDataList{
        clip("holiday.mp4", 1920, 1080, true), clip("party.mov", 1280, 720, false), clip("voice.m4a", 0, 0, false)});
    list->setItems(items);
    list->setRowHeight(60);
    list->setSelectItemBlock([](const std::shared_ptr<SimpleData>&) {});
    list->setSelectDefaultOutputFormatBlock([](const std::shared_ptr<SimpleData>&) {});
    list->setSelectTranstionEffectBlock([](long long, long long) {});
    list->setSelectedRow(1);
    list->reloadData();
    list->show();
    g.shoot(stage, "JoinnerTableView_three_clips");
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: controls_gallery <output folder>\n");
        return 2;
    }
    Gallery gallery(QString::fromLocal8Bit(argv[1]));
    imageButtons(gallery);
    gallery.writeSheet("image_buttons");
    views(gallery);
    gallery.writeSheet("views");
    tilesAndButtons(gallery);
    gallery.writeSheet("tiles_and_buttons");
    sliders(gallery);
    gallery.writeSheet("sliders_and_fields");
    lists(gallery);
    gallery.writeSheet("lists");
    std::printf("%d pictures in %s, %d blank or unwritten\n", gallery.count(), argv[1], gallery.failures());
    return gallery.failures() == 0 ? 0 : 1;
}
