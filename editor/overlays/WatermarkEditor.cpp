#include "WatermarkEditor.h"

#include "AVMakeRectWithAspectRatioInsideRect.h"
#include "EngineSnapshot.h"
#include "HelpClass.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "LQWaterView.h"
#include "Later.h"
#include "MOQButton.h"
#include "OpenPanel.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"
#include "WaterMarkCellItemView.h"
#include "WatermarkHost.h"
#include "WatermarkJobSink.h"
#include "WatermarkPanel.h"
#include "WatermarkPlayerSink.h"
#include "WatermarkRendering.h"

#include <QColorDialog>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontMetricsF>
#include <QLoggingCategory>
#include <QScrollArea>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A named category: the logging macros keep a pointer to theirs while the message is built, which a temporary
// category does not outlive.
Q_LOGGING_CATEGORY(lcWatermark, "clipwright.watermark")

const QStringList kImageExtensions = {"png", "jpg", "tiff", "jpeg", "gif"};

bool isImagePath(const QString& path) {
    return kImageExtensions.contains(QFileInfo(path).suffix().toLower());
}

} // namespace

WatermarkEditor::WatermarkEditor(WatermarkHost& host, QObject* parent) : QObject(parent), _host(host) {
    chooseFont = [this](const QFont& current) -> std::optional<QFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, current, _host.watermarkWindow());
        return ok ? std::optional<QFont>(font) : std::nullopt;
    };
    chooseColor = [this](const QColor& current) -> std::optional<QColor> {
        const QColor colour = QColorDialog::getColor(current, _host.watermarkWindow());
        return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
    };
}

WatermarkEditor::~WatermarkEditor() {
    if (_watermarkView)
        _watermarkView->setDelegate(nullptr);
}

WaterParam* WatermarkEditor::selectedWatermark() const {
    if (_selectedWaterMarkIndex < 0 || _selectedWaterMarkIndex >= _waterMarkList.size())
        return nullptr;
    return _waterMarkList.at(_selectedWaterMarkIndex).get();
}

double WatermarkEditor::videoDuration() const {
    LQMoviePlayer* player = _host.watermarkPlayer();
    return player ? player->duration().seconds() : std::nan("");
}

// ----- the panel -----

void WatermarkEditor::initWaterView(QWidget* contentLeftView) {
    const ViewRect b = ViewFrame::bounds(contentLeftView);
    _panel = new WatermarkPanel({5, 5, b.width - 10, b.height - 10}, contentLeftView);
    _panel->deletedmarkBtn->setMouseDownAction(later(this, &WatermarkEditor::deleteAction));
    _panel->imagemarkBtn->setMouseDownAction(later(this, &WatermarkEditor::addImageOrVideoAction));
    _panel->textmarkBtn->setMouseDownAction(later(this, &WatermarkEditor::addTextAction));
    _panel->wmkeepaspectRatioBtn->setMouseDownAction(later(this, &WatermarkEditor::keepAspectRatioAction));
    _panel->waterFontBtn->setMouseDownAction([this](MOQButton*) {
        later(this, [this] {
            WaterParam* w = selectedWatermark();
            if (!w || !chooseFont)
                return;
            QFont current(w->waterFontName());
            current.setPixelSize(std::max(1, static_cast<int>(w->waterFontSize())));
            if (const std::optional<QFont> font = chooseFont(current))
                applyFont(*font);
        });
    });
    _panel->wmColorBtn->setMouseDownAction([this](MOQButton*) {
        later(this, [this] {
            WaterParam* w = selectedWatermark();
            if (!w || !chooseColor)
                return;
            if (const std::optional<QColor> colour = chooseColor(w->waterFontColor()))
                applyColor(*colour);
        });
    });
    _panel->wmAlphaProgressView->setDelegate(this);
    for (size_t g = 0; g < 4; ++g) {
        WatermarkPanel::TimeRow* row = _panel->timeRows()[g];
        for (LQTextField* f : row->fields) {
            f->setDelegate(this);
            f->setMouseDelegate(this);
        }
        connect(row->stepper, &QSpinBox::valueChanged, this, [this, g] {
            if (!_settingSteppers)
                stepTime(static_cast<WatermarkEditRules::Time>(g));
        });
    }
    for (LQTextField* f : {_panel->wmAlphaField, _panel->wmWidthField, _panel->wmHeightField}) {
        f->setDelegate(this);
        f->setMouseDelegate(this);
    }
    connect(_panel->wmAlphaStepperBtn, &QSpinBox::valueChanged, this, [this] {
        if (!_settingSteppers)
            stepAlph();
    });
    connect(_panel->wmWidthStepperBtn, &QSpinBox::valueChanged, this, [this] {
        if (!_settingSteppers)
            stepSize(true);
    });
    connect(_panel->wmHeightStepperBtn, &QSpinBox::valueChanged, this, [this] {
        if (!_settingSteppers)
            stepSize(false);
    });
    _panel->hide();
    refreshWaterTime();
    refresWaterMarkListView();
}

ViewRect WatermarkEditor::videoRectInside(const ViewSize& video, const ViewRect& bounds) {
    return AVMakeRectWithAspectRatioInsideRect(video, bounds);
}

void WatermarkEditor::initWatermarkView() {
    QWidget* playerView = _host.watermarkPlayerView();
    const ViewSize videoSize = _host.watermarkVideoSize();
    ViewRect videoRect = playerView ? ViewFrame::bounds(playerView) : ViewRect{};
    if (_host.watermarkPlayer())
        videoRect = videoRectInside(videoSize, videoRect);
    qCInfo(lcWatermark, "videoRect: %lf %lf %lf %lf", videoRect.x, videoRect.y, videoRect.width, videoRect.height);
    if (_watermarkView)
        delete _watermarkView.data();
    _watermarkView = new LQWaterView(videoRect, playerView);
    _watermarkView->setVideoSize(videoSize);
    QFont font(QStringLiteral("Tahoma"));
    if (WaterParam* w = selectedWatermark())
        font.setPixelSize(std::max(1, static_cast<int>(w->waterFontSize())));
    _watermarkView->setWaterMarkFont(font);
    _watermarkView->setWaterMarkColor(Qt::white);
    _watermarkView->hide();
    _watermarkView->setDelegate(this);
}

void WatermarkEditor::setOverlayFrame(const ViewRect& videoRect, const ViewSize& videoSize) {
    if (!_watermarkView)
        return;
    _watermarkView->setFrameRect(videoRect);
    _watermarkView->setVideoSize(videoSize);
    showCropOutline();
}

void WatermarkEditor::showCropOutline() {
    if (!_watermarkView)
        return;
    const ViewRect crop = _host.watermarkCropRect();
    const ViewSize video = _host.watermarkVideoSize();
    const ViewSize overlay = _watermarkView->model().size();
    ViewRect points;
    if (crop.width > 0 && crop.height > 0 && video.width > 0 && video.height > 0) {
        const double sx = overlay.width / video.width, sy = overlay.height / video.height;
        points = {crop.x * sx, crop.y * sy, crop.width * sx, crop.height * sy};
    }
    _watermarkView->setCropOutline(points, ResourceBundle::localizedStringForKey("watermarkOutsideCrop"));
}

void WatermarkEditor::emptyList() {
    _waterMarkList.clear();
    _pictures.clear();
    refresWaterMarkListView();
}

// ----- the list -----

void WatermarkEditor::refresWaterMarkListView() {
    if (!_panel)
        return;
    for (WaterMarkCellItemView* row : _waterMarkTableCells)
        row->deleteLater();
    _waterMarkTableCells.clear();
    if (!_waterMarkList.isEmpty() && _selectedWaterMarkIndex >= _waterMarkList.size())
        _selectedWaterMarkIndex = static_cast<int>(_waterMarkList.size()) - 1;
    const ViewRect scroll = ViewFrame::frame(_panel->waterMarkListScrollView);
    const double rowsHeight = std::max(scroll.height, _waterMarkList.size() * 24.0);
    auto* document = new QWidget;
    document->setAttribute(Qt::WA_StyledBackground);
    document->resize(static_cast<int>(scroll.width), static_cast<int>(rowsHeight));
    for (int i = 0; i < _waterMarkList.size(); ++i) {
        const WaterParam& w = *_waterMarkList.at(i);
        auto* row = new WaterMarkCellItemView({0, rowsHeight - (i + 1) * 24.0, scroll.width, 24}, document);
        row->setRow(i);
        row->setNormalTextColor(QColor(90, 216, 238));
        row->setSelectTextColor(Qt::white);
        row->setSelectedBackgroundColor(QColor(105, 168, 219));
        const QString suffix = QFileInfo(w.waterImagePath()).suffix().toLower();
        row->setType(suffix.isEmpty() ? 0 : (QStringList{"jpeg", "png", "bmp", "tiff"}.contains(suffix) ? 1 : 2));
        row->CheckWateMarkBlock = [this](bool checked, int r) {
            later(this, [this, checked, r] { checkRow(r, checked); });
        };
        row->EditWaterTextBlock = [this](const QString& text, int r) {
            later(this, [this, text, r] { renameText(r, text); });
        };
        row->setCheck(w.selected());
        // A file's row shows its name; the whole path is the row's tooltip.
        if (w.waterType() == WaterParam::Text) {
            row->setTitleStringValue(w.waterText());
        } else {
            row->setTitleStringValue(QFileInfo(w.waterImagePath()).fileName());
            row->setToolTip(QDir::toNativeSeparators(w.waterImagePath()));
        }
        row->setSelected(i == _selectedWaterMarkIndex);
        row->action = [this](WaterMarkCellItemView* pressed) { selectEditWaterItem(pressed->row()); };
        _waterMarkTableCells.append(row);
        if (i == _selectedWaterMarkIndex)
            refreshWaterTime();
    }
    _panel->waterMarkListScrollView->setWidget(document);
    enableWaterChildView(!_waterMarkList.isEmpty());
}

void WatermarkEditor::selectEditWaterItem(int row) {
    qCInfo(lcWatermark, "%s", "-[EditVideoWindowController selectEditWaterItem:]");
    for (WaterMarkCellItemView* cell : _waterMarkTableCells)
        cell->setSelected(cell->row() == row);
    later(this, [this, row] {
        _selectedWaterMarkIndex = row;
        refreshWaterTime();
        refreshPlayerWaterMark(true);
        // The size fields or Font... and Colour... follow the kind of the row now selected.
        enableWaterChildView(_childViewsEnabled);
    });
}

void WatermarkEditor::checkRow(int row, bool checked) {
    if (row < 0 || row >= _waterMarkList.size())
        return;
    _waterMarkList.at(row)->setSelected(checked);
    refreshPlayerWaterMark(true);
}

bool WatermarkEditor::renameText(int row, const QString& text) {
    if (row < 0 || row >= _waterMarkList.size())
        return false;
    WaterParam& w = *_waterMarkList.at(row);
    if (!WatermarkRecordBuilder::fitsField(text)) {
        // The title goes back to the text that fits.
        if (row < _waterMarkTableCells.size())
            _waterMarkTableCells.at(row)->setTitleStringValue(w.waterText());
        _host.watermarkAlert(QStringLiteral("watermarkTextTooLong"));
        return false;
    }
    w.setWaterText(text);
    if (row < _waterMarkTableCells.size())
        _waterMarkTableCells.at(row)->setTitleStringValue(text);
    if (_watermarkView) {
        fitTextBox(w, w.waterRect(), text);
        _watermarkView->setWaterMarkString(text);
    }
    return true;
}

void WatermarkEditor::fitTextBox(WaterParam& w, ViewRect r, const QString& text) {
    if (!_watermarkView)
        return;
    const ViewSize o = _watermarkView->model().size();
    const std::optional<QFont> font =
        _watermarkView->hasWaterMarkFont() ? std::optional<QFont>(_watermarkView->waterMarkFont()) : std::nullopt;
    const ViewRect measured = HelpClass::getHeightOfText(text, o.width, o.height, font);
    r.width = std::min(o.width, measured.width);
    r.height = std::min(o.height, measured.height);
    if (r.x + r.width > o.width)
        r.x = o.width - r.width;
    _watermarkView->setClipRect(r);
    w.setWaterPercentClipRect(_watermarkView->getPercentTextClipRect());
    w.setWaterRect(_watermarkView->getclipRectFrame());
    if (font) {
        w.setWaterFontSize(static_cast<float>(font->pixelSize() > 0 ? font->pixelSize() : font->pointSizeF()));
        w.setWaterFontName(font->family());
    }
    w.setWaterViewFrameWidth(static_cast<float>(_panel ? ViewFrame::frame(_panel).width : 0));
}

void WatermarkEditor::preparePlayer(LQMoviePlayer& player) {
    player.SetDrawTextCallback(&playerDrawTextCallback);
    player.SetLoadImageCallback(&playerLoadImageCallback);
}

QImage WatermarkEditor::getWaterImageWithPath(const QString& path) {
    const ViewSize size = EngineSnapshot::getVideoSizeForTrack(path);
    if (size.width <= 0 || size.height <= 0)
        return {};
    const int width = static_cast<int>(size.width / static_cast<float>(size.height / 180.0));
    return EngineSnapshot::frameAt(path, 0, std::max(1, width), 180);
}

QImage WatermarkEditor::overlayImage(const WaterParam& w) const {
    const QString path = w.waterImagePath();
    if (path.isEmpty())
        return {};
    // Every load of the selected watermark shows its picture: each file is read once.
    const QString key = (w.isVideo() ? QStringLiteral("v:") : QStringLiteral("i:")) + path;
    auto cached = _pictures.constFind(key);
    if (cached != _pictures.constEnd())
        return *cached;
    const QImage picture = w.isVideo() ? getWaterImageWithPath(path) : QImage(path);
    _pictures.insert(key, picture);
    return picture;
}

void WatermarkEditor::addImageOrVideoAction() {
    OpenPanelOptions options;
    options.message = ResourceBundle::localizedStringForKey("MessageSelectafile");
    options.prompt = ResourceBundle::localizedStringForKey("OKBtnTitle");
    options.canCreateDirectories = true;
    options.allowsMultipleSelection = true;
    options.allowedFileTypes = {"png", "jpg", "tiff", "JPEG", "mp4", "mov", "gif"};
    const QStringList paths = OpenPanel::run(options, _host.watermarkWindow());
    for (const QString& p : paths)
        qCInfo(lcWatermark, "%s", qUtf8Printable(p));
    if (!paths.isEmpty())
        addFile(paths.last());
}

bool WatermarkEditor::addFile(const QString& path) {
    if (!WatermarkRecordBuilder::fitsField(path)) {
        _host.watermarkAlert(QStringLiteral("watermarkPathTooLong"));
        return false;
    }
    const bool video = !isImagePath(path);
    QImage picture;
    float fileDuration = 0;
    const QByteArray name = path.toUtf8();
    if (video) {
        if (MEDIA_HANDLE media = MediaOpen(name.constData())) {
            fileDuration = static_cast<float>(MediaGetDuration(media) / 1e6);
            MediaClose(media);
        }
        if (fileDuration > 0)
            picture = getWaterImageWithPath(path);
    } else {
        int32_t w = 0, h = 0;
        if (playerLoadImageCallback(name.constData(), &w, &h, 0, nullptr) == 1)
            picture = QImage(path);
    }
    // A file the preview and the export could not read is refused here, not left out of the picture later.
    if (picture.isNull()) {
        _host.watermarkAlert(QStringLiteral("watermarkFileUnreadable"));
        return false;
    }
    _selectedWaterMarkIndex = static_cast<int>(_waterMarkList.size());
    auto w = std::make_shared<WaterParam>();
    w->setWaterImagePath(path);
    w->setWaterType(WaterParam::File);
    w->setWaterAlph(0);
    w->setSelected(true);
    w->setStartTime(0);
    w->setDuration(static_cast<float>(_host.watermarkPlayer() ? videoDuration() : 0));
    w->setIsVideo(video);
    w->setFileDuration(fileDuration);
    w->setFileStartTime(0);
    w->setFileEndTime(fileDuration);
    w->setKeepaspectRatio(true);
    if (_watermarkView) {
        _watermarkView->setWaterMarkAlph(0);
        _watermarkView->setWaterMark(picture);
        _watermarkView->setScale_Type(3);
        _watermarkView->setMarkWaterType(WaterViewModel::ImageMode);
        // The picture's own pixels on the video (the overlay shows the video smaller or larger), fitted into it.
        const double scale = pixelsPerPoint();
        _watermarkView->setClipRect(_watermarkView->getCheckClipRect(
            {0, 0, double(picture.width()) / scale, double(picture.height()) / scale}));
    }
    appendNew(w);
    return true;
}

void WatermarkEditor::appendNew(const std::shared_ptr<WaterParam>& w) {
    if (_watermarkView) {
        w->setWaterRect(_watermarkView->getclipRectFrame());
        w->setWaterPercentClipRect(_watermarkView->getPercentImageClipRect());
        _watermarkView->show();
    }
    _waterMarkList.append(w);
    refresWaterMarkListView();
    if (w->waterType() == WaterParam::Text)
        keepNewTextInside(*w);
    refreshPlayerWaterMark(true);
}

void WatermarkEditor::keepNewTextInside(WaterParam& w) {
    if (!_watermarkView || !_watermarkView->hasWaterMarkFont())
        return;
    // The text is drawn from its baseline at the box's bottom edge: its descent hangs below the box and its
    // ascent may rise above it. A new text starts where all of it shows, in the preview and in the export.
    const QFontMetricsF metrics(_watermarkView->waterMarkFont());
    const double overlayHeight = _watermarkView->model().size().height;
    ViewRect r = _watermarkView->getclipRectFrame();
    const double lowest = std::ceil(metrics.descent());
    const double highest = overlayHeight - std::ceil(std::max(metrics.ascent(), r.height));
    const double y = std::max(lowest, std::min(r.y, highest));
    if (y == r.y || highest < lowest)
        return;
    r.y = y;
    _watermarkView->setClipRect(r);
    w.setWaterPercentClipRect(_watermarkView->getPercentTextClipRect());
    w.setWaterRect(_watermarkView->getclipRectFrame());
}

void WatermarkEditor::addTextAction() {
    _selectedWaterMarkIndex = static_cast<int>(_waterMarkList.size());
    auto w = std::make_shared<WaterParam>();
    w->setWaterText(ResourceBundle::localizedStringForKey("watermarkstringValue"));
    w->setWaterAlph(0);
    if (_watermarkView) {
        _watermarkView->setWaterMarkAlph(0);
        _watermarkView->setWaterMarkString(w->waterText());
        _watermarkView->setMarkWaterType(WaterViewModel::TextMode);
        ViewRect box = _watermarkView->getclipRectFrame();
        const double overlayWidth = _watermarkView->model().size().width;
        if (box.maxX() > overlayWidth)
            box.x = overlayWidth - box.width;
        const QImage image = _watermarkView->waterMark();
        _watermarkView->setClipRect({box.x, box.y, double(image.width()), double(image.height())});
    }
    w->setWaterFontColor(Qt::white);
    w->setWaterType(WaterParam::Text);
    w->setSelected(true);
    w->setStartTime(0);
    w->setDuration(static_cast<float>(_host.watermarkPlayer() ? videoDuration() : 0));
    appendNew(w);
}

void WatermarkEditor::deleteAction() {
    if (_selectedWaterMarkIndex < 0 || _selectedWaterMarkIndex >= _waterMarkList.size())
        return;
    _waterMarkList.removeAt(_selectedWaterMarkIndex);
    refresWaterMarkListView();
    refreshPlayerWaterMark(true);
    if (_waterMarkList.isEmpty()) {
        if (_watermarkView) {
            _watermarkView->setWaterMark({});
            _watermarkView->setWaterMarkString(QString());
            _watermarkView->setClipRect({});
        }
        refreshWaterTime();
    }
}

void WatermarkEditor::enableWaterChildView(bool e) {
    if (!_panel)
        return;
    _childViewsEnabled = e;
    waterEnAbeld(_host.watermarkPlayer() != nullptr);
    _panel->wmkeepaspectRatioBtn->setEnabled(e);
    _panel->watermarkDefaultBtn->setEnabled(e);
    for (WatermarkPanel::TimeRow* row : _panel->timeRows()) {
        for (LQTextField* f : row->fields)
            f->setEnabled(e);
        row->stepper->setEnabled(e);
    }
    _panel->wmAlphaField->setEnabled(e);
    _panel->wmAlphaStepperBtn->setEnabled(e);
    for (WaterMarkCellItemView* row : _waterMarkTableCells)
        row->setEnabled(e);
    _panel->wmAlphaProgressView->setDisable(!e);
    WaterParam* w = selectedWatermark();
    const bool sizes = w && w->waterType() != WaterParam::Text && e;
    const bool font = w && w->waterType() == WaterParam::Text && e;
    for (QWidget* c : std::initializer_list<QWidget*>{_panel->wmWidthField, _panel->wmHeightField,
                                                      _panel->wmWidthStepperBtn, _panel->wmHeightStepperBtn})
        c->setEnabled(sizes);
    _panel->waterFontBtn->setEnabled(font);
    _panel->wmColorBtn->setEnabled(font);
}

void WatermarkEditor::waterEnAbeld(bool b) {
    if (!_panel)
        return;
    _panel->textmarkBtn->setEnabled(b);
    _panel->imagemarkBtn->setEnabled(b);
    _panel->deletedmarkBtn->setEnabled(b);
}

// ----- the selected watermark's properties -----

void WatermarkEditor::showTime(int group, float seconds) {
    const WatermarkEditRules::Parts p = WatermarkEditRules::parts(seconds);
    const int values[4] = {p.hours, p.minutes, p.seconds, p.hundredths};
    for (int i = 0; i < 4; ++i)
        _panel->timeRows()[static_cast<size_t>(group)]->fields[static_cast<size_t>(i)]->setStringValue(
            QString::asprintf("%02i", values[i]));
}

float WatermarkEditor::timeFromFields(int group) const {
    const auto& f = _panel->timeRows()[static_cast<size_t>(group)]->fields;
    return WatermarkEditRules::seconds({static_cast<int>(f[0]->integerValue()), static_cast<int>(f[1]->integerValue()),
                                        static_cast<int>(f[2]->integerValue()),
                                        static_cast<int>(f[3]->integerValue())});
}

void WatermarkEditor::refreshWaterTime() {
    if (!_panel)
        return;
    WaterParam* w = selectedWatermark();
    float times[4] = {0, 0, 0, 0};
    if (w) {
        showWrittenSize(*w);
        times[0] = w->startTime();
        times[1] = w->duration();
        times[2] = w->fileStartTime();
        times[3] = w->fileEndTime();
    } else {
        for (LQTextField* f : {_panel->wmWidthField, _panel->wmHeightField, _panel->wmAlphaField})
            f->setStringValue(QStringLiteral("00"));
    }
    for (int g = 0; g < 4; ++g)
        showTime(g, times[g]);
    if (!w) {
        _panel->wmfontStyleBackView->show();
        _panel->wmsizeBackgroundView->hide();
        _panel->showClipRows(false);
        return;
    }
    if (_watermarkView) {
        _watermarkView->setWaterMarkAlph(static_cast<int>(w->waterAlph()));
        _watermarkView->setScale_Type(w->keepaspectRatio() ? 3 : 1);
        _watermarkView->setMarkWaterType(static_cast<int>(w->waterType()));
        _watermarkView->setWaterMarkString(w->waterText());
        _watermarkView->setWaterMarkColor(w->waterFontColor());
        _watermarkView->setWaterMark(overlayImage(*w));
    }
    _panel->wmAlphaField->setFloatValue(static_cast<float>(w->waterAlph()));
    _panel->wmAlphaProgressView->setProgress(static_cast<float>(w->waterAlph() / 100.0));
    if (_watermarkView && !w->waterText().isEmpty()) {
        QFont font(w->waterFontName());
        font.setPixelSize(std::max(1, static_cast<int>(w->waterFontSize())));
        _watermarkView->setWaterMarkFont(font);
        fitTextBox(*w, w->waterRect(), _watermarkView->waterMarkString());
    } else if (_watermarkView && !_watermarkView->waterMark().isNull()) {
        _watermarkView->setScale_Type(w->keepaspectRatio() ? 3 : 1);
        _panel->wmkeepaspectRatioBtn->setSelected(w->keepaspectRatio());
        ViewRect r = w->waterRect();
        const double overlayWidth = _watermarkView->model().size().width;
        if (r.maxX() > overlayWidth)
            r.x = overlayWidth - r.width;
        _watermarkView->setClipRect(r);
    }
    const bool hasPath = !w->waterImagePath().isEmpty();
    _panel->showClipRows(hasPath && w->fileDuration() > 0);
    _panel->wmfontStyleBackView->setVisible(!hasPath);
    _panel->wmsizeBackgroundView->setVisible(hasPath);
}

bool WatermarkEditor::applyTime(int group, float value) {
    WaterParam* w = selectedWatermark();
    if (!w)
        return true;
    const QString refusal =
        WatermarkEditRules::applyTime(*w, static_cast<WatermarkEditRules::Time>(group), value, videoDuration());
    if (!refusal.isEmpty()) {
        _host.watermarkAlert(refusal);
        return false;
    }
    refreshWaterTime();
    return true;
}

void WatermarkEditor::stepTime(WatermarkEditRules::Time which) {
    const int group = static_cast<int>(which);
    WatermarkPanel::TimeRow* row = _panel->timeRows()[static_cast<size_t>(group)];
    LQTextField* field = _editFields[static_cast<size_t>(group)];
    if (!field)
        field = row->fields[2]; // the seconds until a field was clicked
    field->setFloatValue(static_cast<float>(row->stepper->value()));
    if (!applyTime(group, timeFromFields(group))) {
        // The stepper obeys the same checks: the fields show the stored time again.
        WaterParam* w = selectedWatermark();
        showTime(group, w ? WatermarkEditRules::value(*w, which) : 0);
        bindStepper(row->stepper, 0, row->stepper->maximum(), static_cast<int>(field->integerValue()));
    }
}

void WatermarkEditor::stepAlph() {
    WaterParam* w = selectedWatermark();
    if (!w)
        return;
    _panel->wmAlphaField->setFloatValue(static_cast<float>(_panel->wmAlphaStepperBtn->value()));
    w->setWaterAlph(_panel->wmAlphaField->floatValue());
    refreshWaterTime();
}

void WatermarkEditor::applySize(bool width, double value) {
    WaterParam* w = selectedWatermark();
    if (!w || !_watermarkView)
        return;
    // The fields count pixels of the video; the box is in the overlay's points.
    const ViewRect r =
        WatermarkEditRules::sized(w->waterRect(), width, value / pixelsPerPoint(), _watermarkView->model().size());
    _watermarkView->setClipRect(r);
    // The box the export uses follows the size at once.
    followOverlay();
}

void WatermarkEditor::stepSize(bool width) {
    QSpinBox* stepper = width ? _panel->wmWidthStepperBtn : _panel->wmHeightStepperBtn;
    LQTextField* field = width ? _panel->wmWidthField : _panel->wmHeightField;
    field->setFloatValue(static_cast<float>(stepper->value()));
    applySize(width, field->floatValue());
}

void WatermarkEditor::keepAspectRatioAction() {
    WaterParam* w = selectedWatermark();
    _panel->wmkeepaspectRatioBtn->setSelected(!_panel->wmkeepaspectRatioBtn->selected());
    if (!w)
        return;
    w->setKeepaspectRatio(_panel->wmkeepaspectRatioBtn->selected());
    if (_watermarkView) {
        _watermarkView->setScale_Type(w->keepaspectRatio() ? 3 : 1);
        followOverlay();
    }
}

void WatermarkEditor::applyFont(const QFont& chosen) {
    WaterParam* w = selectedWatermark();
    if (!w || !_watermarkView)
        return;
    if (!WatermarkRecordBuilder::fitsField(chosen.family())) {
        _host.watermarkAlert(QStringLiteral("watermarkFontTooLong"));
        return;
    }
    QFont font = chosen;
    if (font.pixelSize() <= 0)
        font.setPixelSize(std::max(1, qRound(font.pointSizeF())));
    _watermarkView->setWaterMarkFont(font);
    fitTextBox(*w, _watermarkView->getclipRectFrame(), w->waterText());
    _watermarkView->update();
}

void WatermarkEditor::applyColor(const QColor& colour) {
    WaterParam* w = selectedWatermark();
    if (!w || !_panel || _panel->isHidden())
        return;
    w->setWaterFontColor(colour);
    if (_watermarkView) {
        _watermarkView->setWaterMarkColor(colour);
        _watermarkView->update();
    }
}

void WatermarkEditor::followOverlay() {
    WaterParam* w = selectedWatermark();
    if (!w || !_watermarkView)
        return;
    w->setWaterRect(_watermarkView->getclipRectFrame());
    w->setWaterPercentClipRect(_watermarkView->markWaterType() == WaterViewModel::ImageMode
                                   ? _watermarkView->getPercentImageClipRect()
                                   : _watermarkView->getPercentTextClipRect());
    showWrittenSize(*w);
}

void WatermarkEditor::actionMouseMovedForWaterViewBlock(LQWaterView* view, const ViewRect&) {
    if (view == _watermarkView)
        followOverlay();
}

void WatermarkEditor::actionMouseMoveEndForWaterViewBlock(LQWaterView*, const ViewRect&) {
    followOverlay();
}

// ----- fields, steppers and the slider -----

int WatermarkEditor::timeGroup(LQTextField* field) const {
    for (size_t g = 0; g < 4; ++g)
        for (LQTextField* f : _panel->timeRows()[g]->fields)
            if (f == field)
                return static_cast<int>(g);
    return -1;
}

void WatermarkEditor::bindStepper(QSpinBox* stepper, int minimum, int maximum, int value) {
    _settingSteppers = true;
    stepper->setRange(minimum, maximum);
    stepper->setValue(value);
    _settingSteppers = false;
}

void WatermarkEditor::actionMouseDownForTextFieldBlock(LQTextField* field) {
    if (!_panel)
        return;
    const int group = timeGroup(field);
    if (group >= 0) {
        WatermarkPanel::TimeRow* row = _panel->timeRows()[static_cast<size_t>(group)];
        _editFields[static_cast<size_t>(group)] = field;
        bindStepper(row->stepper, 0, field == row->fields[3] ? 99 : 59, static_cast<int>(field->integerValue()));
    } else if (_watermarkView && field == _panel->wmWidthField) {
        bindStepper(_panel->wmWidthStepperBtn, 0, static_cast<int>(geometry().videoWidth),
                    static_cast<int>(field->floatValue()));
    } else if (_watermarkView && field == _panel->wmHeightField) {
        bindStepper(_panel->wmHeightStepperBtn, 0, static_cast<int>(geometry().videoHeight),
                    static_cast<int>(field->floatValue()));
    } else if (field == _panel->wmAlphaField) {
        bindStepper(_panel->wmAlphaStepperBtn, 0, 100, static_cast<int>(field->floatValue()));
    }
    field->setFocus();
}

bool WatermarkEditor::controlTextShouldEndEditing(LQTextField* field) {
    if (!_panel || !selectedWatermark())
        return true;
    const int group = timeGroup(field);
    if (group >= 0)
        return applyTime(group, timeFromFields(group));
    if (field == _panel->wmWidthField || field == _panel->wmHeightField) {
        applySize(field == _panel->wmWidthField, field->floatValue());
        return true;
    }
    if (field == _panel->wmAlphaField) {
        const QString refusal = WatermarkEditRules::checkAlph(field->floatValue());
        if (!refusal.isEmpty()) {
            _host.watermarkAlert(refusal);
            return false;
        }
        selectedWatermark()->setWaterAlph(field->floatValue());
        refreshWaterTime();
    }
    return true;
}

void WatermarkEditor::actionMouseDownForProgressSliderBlock(LQProgressSlider*, float) {
    _host.watermarkHoldPreview();
}

void WatermarkEditor::actionProgressForProgressSliderBlock(LQProgressSlider*, float progress) {
    WaterParam* w = selectedWatermark();
    if (_waterMarkList.isEmpty() || !w)
        return;
    w->setWaterAlph(static_cast<double>(progress) * 100);
    _panel->wmAlphaField->setIntegerValue(static_cast<int>(w->waterAlph()));
    if (_watermarkView)
        _watermarkView->setWaterMarkAlph(static_cast<int>(w->waterAlph()));
    // A held preview shows the watermark through the player, not the overlay: give it the new transparency.
    if (_host.watermarkPreviewPlaying()) {
        refreshPlayerWaterMark(false);
        if (LQMoviePlayer* player = _host.watermarkPlayer())
            player->Refresh();
    }
}

void WatermarkEditor::actionMouseUpForProgressSliderBlock(LQProgressSlider*, float) {
    _host.watermarkResumePreview();
}

void WatermarkEditor::enableTransparencySlider(bool e) {
    if (_panel)
        _panel->wmAlphaProgressView->setDisable(!(e && selectedWatermark()));
}

// ----- preview and export -----

double WatermarkEditor::pixelsPerPoint() const {
    const WatermarkGeometry g = geometry();
    return g.overlayWidth > 0 && g.videoWidth > 0 ? g.videoWidth / g.overlayWidth : 1.0;
}

void WatermarkEditor::showWrittenSize(const WaterParam& w) {
    // What the export writes: the box's pixels on the video, as the engine's record gets them.
    const WatermarkGeometry g = geometry();
    const RECT r = WatermarkRecordBuilder::imageRect(w.waterPercentClipRect(), g.videoWidth, g.videoHeight);
    _panel->wmWidthField->setStringValue(QString::number(r.right - r.left));
    _panel->wmHeightField->setStringValue(QString::number(r.bottom - r.top));
}

WatermarkGeometry WatermarkEditor::geometry() const {
    const ViewSize video = _host.watermarkVideoSize();
    return {video.width, video.height, _watermarkView ? _watermarkView->model().size().width : video.width};
}

void WatermarkEditor::refreshPlayerWaterMark(bool editing) {
    LQMoviePlayer* player = _host.watermarkPlayer();
    if (!player)
        return;
    player->ClearWatermask();
    WatermarkPlayerSink sink(*player);
    const WatermarkRecordBuilder::Sent sent =
        WatermarkRecordBuilder::send(_waterMarkList, _selectedWaterMarkIndex, editing, geometry(), sink);
    if (sent.selectedShown && _watermarkView)
        _watermarkView->show();
    if (!_host.watermarkPreviewPlaying())
        player->Refresh();
}

bool WatermarkEditor::addConvertWaterMark(CONVERT_HANDLE job) {
    WatermarkJobSink sink(job);
    const WatermarkRecordBuilder::Sent sent =
        WatermarkRecordBuilder::send(_waterMarkList, _selectedWaterMarkIndex, false, geometry(), sink);
    if (!sent.refusalKeys.isEmpty()) {
        _host.watermarkAlert(sent.refusalKeys.first());
        return false;
    }
    return true;
}
