#include "JoinnerCell.h"

#include "ControlFont.h"
#include "ControlsLog.h"
#include "Dispatch.h"
#include "HelpClass.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "NSProgressView.h"
#include "ResourceBundle.h"
#include "SimpleData.h"
#include "ViewFrame.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace {

constexpr double LabelHeight = 12;

QFont rowFont() {
    return ControlFont::system(11);
}

} // namespace

JoinnerCell::JoinnerCell(const ViewRect& frame, QWidget* parent) : QWidget(parent) {
    ViewFrame::setFrame(this, frame);
    const double h = frame.height;
    const double w = width();

    _thumbImageView = new MOQImageView(ViewRect{5, h - 53, 76, 48}, this);
    // A click or the wheel on the picture is the row's.
    _thumbImageView->setAttribute(Qt::WA_TransparentForMouseEvents);
    _scrLabel = makeLabel({82, h - 17, w / 2 - 85, LabelHeight}, QString());
    const double sourceY = h - 17 - 17;
    _sourceLabel = makeLabel({82, sourceY, 50, LabelHeight}, ResourceBundle::localizedStringForKey("SourceLabelTitle"));
    _sourceDurationLabel = makeLabel({82 + 50 + 5, sourceY, 70, LabelHeight}, QStringLiteral("00:00:00"));
    const double frameX = 82 + 50 + 5 + 70 + 5;
    _sourceFrameLabel = makeLabel({frameX, sourceY, 66, LabelHeight}, QStringLiteral("0000x0000"));
    _sourceSizeLabel = makeLabel({frameX + 66 + 5, sourceY, 70, LabelHeight}, QStringLiteral("0.00MB"));
    const double cuttedY = sourceY - 17;
    const QString cutted = ResourceBundle::localizedStringForKey("CuttedLabelTitle");
    _cuttedLabel = makeLabel({82, cuttedY, 50, LabelHeight}, cutted);
    _cuttedTimeLabel = makeLabel({82 + 50 + 5, cuttedY, 70, LabelHeight}, cutted);

    const ViewRect check{w - 240, h - 35, 240, 20};
    _defaultoutputformat = new MOQButton(check, this);
    _defaultoutputformat->setFont(rowFont());
    _defaultoutputformat->setBordered(false);
    _defaultoutputformat->setNormalImage(ResourceBundle::imageWithfileName("Join/CheckBox_NoCheck.bmp"));
    _defaultoutputformat->setSelectedImage(ResourceBundle::imageWithfileName("Join/CheckBox_Checked.bmp"));
    _defaultoutputformat->setContentTitle(QStringLiteral("  ") +
                                          ResourceBundle::localizedStringForKey("default_formatBtnTitle"));
    _defaultoutputformat->setContentColor(Qt::black);
    _defaultoutputformat->setSelected(false);
    _defaultoutputformat->setMouseDownAction([this](MOQButton*) { toggleDefaultFormat(); });

    _effectLabel = makeLabel({check.x, check.y - 17, 100, LabelHeight},
                             ResourceBundle::localizedStringForKey("Transition_EffectLabelTitle"));
    _effectBtn = new QComboBox(this);
    _effectBtn->setFont(rowFont());
    for (const char* key : {"NORMALItemTitle", "LEFTItemTitle", "TOPItemTitle", "FADEOUTItemTitle"})
        _effectBtn->addItem(ResourceBundle::localizedStringForKey(QString::fromLatin1(key)));
    _effectBtn->setCurrentIndex(0);
    ViewFrame::setFrame(_effectBtn, {check.x + 100, check.y - 23, 132, 22});
    connect(_effectBtn, &QComboBox::activated, this, [this] { transitionAction(); });
    _effectBtn->installEventFilter(this);

    _progress = new NSProgressView(ViewRect{w - 220, (h - 10) / 2, 200, 10}, this);
    _progress->setHidden(true);

    transitionAction();
}

JoinnerCell::~JoinnerCell() = default;

LabelField* JoinnerCell::makeLabel(const ViewRect& frame, const QString& text) {
    auto* label = new LabelField(this);
    label->setFont(rowFont());
    label->setTextColor(Qt::black);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(text);
    // The line is drawn from the top of the frame; a frame shorter than the font's line would cut off what hangs
    // below the baseline (the underscores of file names, g, p, y). It grows downwards, into the gap to the next row,
    // so the text stays where the layout puts it.
    ViewRect fitted = frame;
    fitted.height = std::max(frame.height, double(QFontMetrics(label->font()).height()));
    fitted.y = frame.y + frame.height - fitted.height;
    ViewFrame::setFrame(label, fitted);
    return label;
}

void JoinnerCell::setEnabele(bool enabele) {
    _enabele = enabele;
    _defaultoutputformat->setEnabled(enabele);
    _effectBtn->setEnabled(enabele);
}

QString JoinnerCell::sizeText(float megabytes) {
    const double mb = megabytes;
    if (mb >= 1)
        return QString::asprintf("%.1lfMB", mb);
    if (mb * 1024 >= 1)
        return QString::asprintf("%.1lfKB", mb * 1024);
    return QString::asprintf("%.1lfB", mb * 1024 * 1024);
}

void JoinnerCell::setFileData(const std::shared_ptr<SimpleData>& data) {
    _fileData = data;
    if (!data) {
        update();
        return;
    }
    const std::shared_ptr<FileData> source = data->sourceData();
    _scrLabel->setText(QFileInfo(data->path()).fileName());
    _thumbImageView->setImage(data->thumbImage());
    if (source) {
        _sourceDurationLabel->setText(HelpClass::returnTimeToStr(source->duration()));
        _sourceFrameLabel->setText(QString::asprintf("%dx%d", source->width(), source->height()));
        _sourceSizeLabel->setText(sizeText(source->fileSize()));
    }
    const float trimmed = float(data->cutTimeRange_stop() - data->cutTimeRange_start()) / 1000000.0f;
    _cuttedTimeLabel->setText(HelpClass::returnTimeToStr(trimmed));
    _defaultoutputformat->setSelected(data->defaultFormat());
    _selected = data->selected();
    _effectBtn->setCurrentIndex(data->transitionEffect());
    if (!source || source->width() == 0 || source->height() == 0) {
        _defaultoutputformat->setHidden(true);
        _effectLabel->setHidden(true);
        _effectBtn->setHidden(true);
    }
    update();
}

void JoinnerCell::setSelected(bool selected) {
    _selected = selected;
    if (_SelectedBlock) {
        const Block block = _SelectedBlock;
        block(this);
    }
    update();
}

void JoinnerCell::toggleDefaultFormat() {
    // One main-queue turn after the click; the row may be gone by then (a reload drops every row).
    QPointer<JoinnerCell> self(this);
    Dispatch::main([self] {
        if (!self)
            return;
        const bool checked = !self->_defaultoutputformat->selected();
        self->_defaultoutputformat->setSelected(checked);
        if (self->_fileData)
            self->_fileData->setDefaultFormat(checked);
        if (self->_SelecteddefaultFormatoutputBlock) {
            const Block block = self->_SelecteddefaultFormatoutputBlock;
            block(self.data());
        }
    });
}

void JoinnerCell::transitionAction() {
    const int i = std::max(0, _effectBtn->currentIndex());
    _effectBtn->setCurrentIndex(i);
    _effectBtn->setToolTip(_effectBtn->itemText(i));
    if (_fileData)
        _fileData->setTransitionEffect(i);
    if (_SelectedTransitionEffectBlock) {
        const Block block = _SelectedTransitionEffectBlock;
        block(this);
    }
}

bool JoinnerCell::eventFilter(QObject* watched, QEvent* event) {
    if (watched == _effectBtn && event->type() == QEvent::Wheel) {
        // Handed to the row, which passes it up to the list.
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void JoinnerCell::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !_enabele || _selected)
        return;
    if (_MouseDownBlock) {
        const Block block = _MouseDownBlock;
        block(this);
    }
    update();
}

void JoinnerCell::mouseReleaseEvent(QMouseEvent*) {
    update();
}

void JoinnerCell::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QColor& fill = _selected ? _sBackGroundColor : _nBackGroundColor;
    const QImage& image = _selected ? _sBackGroundImage : _nBackGroundImage;
    if (fill.isValid())
        painter.fillRect(event->rect(), fill);
    if (!image.isNull())
        painter.drawImage(QRectF(rect()), image);
}
