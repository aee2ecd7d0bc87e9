#include "SettingWindowController.h"

#include "FormatsLog.h"
#include "MOQImageView.h"
#include "Modal.h"
#include "OutputCustomValues.h"
#include "ProfileReader.h"
#include "ProfileRoot.h"
#include "ProfileValueParser.h"
#include "ResourceBundle.h"
#include "SettingChangeMask.h"
#include "UserDefaults.h"
#include "ViewFrame.h"
#include "WindowKeys.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <utility>

namespace {

// The first non-empty option between the braces, trimmed; none when there is none.
std::optional<QString> firstOption(const QString& value) {
    const int open = value.indexOf(QLatin1Char('{'));
    if (open < 0)
        return std::nullopt;
    const int close = value.indexOf(QLatin1Char('}'), open + 1);
    const QString inside = value.mid(open + 1, close < 0 ? -1 : close - open - 1);
    for (const QString& option : inside.split(QLatin1Char(','))) {
        QString title = option;
        title.remove(QLatin1Char('"'));
        title = title.trimmed();
        if (!title.isEmpty())
            return title;
    }
    return std::nullopt;
}

constexpr double kPanelHeight = 178;
constexpr double kPanelX = 22;
constexpr double kVideoPanelY = 256;
constexpr double kAudioPanelY = 56;
constexpr double kPopUpX = 112;
constexpr double kPopUpWidth = 170;
constexpr double kRowHeight = 20;

// Rows of a panel from the bottom: 24, 60.67, 97.33 and 134 (the step is computed in single precision).
double rowY(int k) {
    const float step = (178.0f - 80.0f - 48.0f) / 3.0f + 20.0f;
    return 24.0 + static_cast<double>(static_cast<float>(k) * step);
}

// The row of each parameter inside its panel: codec at the top, bit rate at the bottom.
int rowOf(OutputProfile::Parameter parameter) {
    return 3 - (parameter % 4);
}

OutputSelection::Title titleOf(OutputProfile::Parameter parameter) {
    return static_cast<OutputSelection::Title>(parameter + 1);
}

QString localized(const char* key) {
    return ResourceBundle::localizedStringForKey(QString::fromLatin1(key));
}

QLabel* makeLabel(QWidget* parent, const QString& text, int pixelSize, Qt::Alignment alignment, const ViewRect& frame) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(pixelSize); // the sizes are in points, which are Qt's logical pixels
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    ViewFrame::setFrame(label, frame);
    return label;
}

QString integerText(qint64 value) {
    return QString::asprintf("%d", static_cast<int>(value));
}

} // namespace

SettingWindowController::SettingWindowController() = default;

SettingWindowController::~SettingWindowController() {
    qCDebug(lcFormats, "%s", "-[SettingWindowController dealloc]");
}

QString SettingWindowController::ownerKey(OutputProfile::Parameter parameter) const {
    return OutputSelection::storedKey(_joinner ? OutputSelection::Family::Joiner : OutputSelection::Family::Editor,
                                      titleOf(parameter));
}

QWidget* SettingWindowController::loadWindow() {
    QWidget* window = WindowController::loadWindow();
    _customView = new QWidget(window);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(_customView);
    return window;
}

void SettingWindowController::windowDidLoad() {
    window()->setWindowTitle(localized(_joinner ? "Joinner_settingsTitle" : "Edit_settingsTitle"));
    makeLabel(_customView, localized("VideoLabelTitle"), 13, Qt::AlignLeft, {30, 432, 100, 20});
    makeLabel(_customView, localized("AudioLabelTitle"), 13, Qt::AlignLeft, {30, 232, 100, 20});

    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    const bool customSize = defaults.stringForKey(ownerKey(OutputProfile::FrameSize)) == OutputSelection::kCustomTitle;
    const bool customRate =
        defaults.stringForKey(ownerKey(OutputProfile::VideoBitRate)) == OutputSelection::kCustomTitle;
    const int width = customSize || customRate ? kWideWidth : kNarrowWidth;
    if (isVideoProfile())
        buildPanel(true, width);
    buildPanel(false, width);

    _defaultBtn = new QPushButton(localized("DefaultBtnTitle"), _customView);
    ViewFrame::setFrame(_defaultBtn, {20, 20, 80, 23});
    connect(_defaultBtn, &QPushButton::clicked, this, [this] { actiondefaultBtn(); });
    _cancelBtn = new QPushButton(localized("CancelBtn"), _customView);
    connect(_cancelBtn, &QPushButton::clicked, this, [this] { cancelAction(); });
    _okBtn = new QPushButton(localized("OKBtnTitle"), _customView);
    _okBtn->setDefault(true);
    connect(_okBtn, &QPushButton::clicked, this, [this] { okAction(); });
    _roundingNote = new QLabel(_customView);
    QFont font = _roundingNote->font();
    font.setPixelSize(11);
    _roundingNote->setFont(font);
    _roundingNote->setAlignment(Qt::AlignCenter);
    _roundingNote->setVisible(false);
    placeButtons(width);
    WindowKeys::answerWith(
        window(), [this] { okAction(); }, [this] { cancelAction(); });
}

void SettingWindowController::placeButtons(double width) {
    ViewFrame::setFrame(_okBtn, {width - 100, 20, 80, 23});
    ViewFrame::setFrame(_cancelBtn, {width - 188, 20, 80, 23});
    ViewFrame::setFrame(_roundingNote, {104, 20, width - 296, 23});
}

QStringList SettingWindowController::ownedKeys() const {
    QStringList keys;
    for (int p = 0; p < OutputProfile::ParameterCount; ++p)
        keys << ownerKey(static_cast<OutputProfile::Parameter>(p));
    keys << OutputCustomValues::kWidthKey << OutputCustomValues::kHeightKey << OutputCustomValues::kBitRateKey;
    return keys;
}

void SettingWindowController::rememberStoredValues() {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    _storedAtOpening.clear();
    for (const QString& key : ownedKeys())
        _storedAtOpening << (defaults.hasKey(key) ? std::optional<QString>(defaults.stringForKey(key)) : std::nullopt);
    _changedBits = 0;
}

void SettingWindowController::okAction() {
    close();
}

void SettingWindowController::cancelAction() {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    const QStringList keys = ownedKeys();
    for (qsizetype i = 0; i < keys.size() && i < _storedAtOpening.size(); ++i) {
        if (_storedAtOpening.at(i))
            defaults.setString(*_storedAtOpening.at(i), keys.at(i));
        else
            defaults.removeObjectForKey(keys.at(i));
    }
    // The owner followed every change; it reads the parameters it followed once more.
    const int changed = std::exchange(_changedBits, 0);
    for (int bit = SettingChangeVideoCodec; bit <= SettingChangeAudioBitRate; bit <<= 1)
        if ((changed & bit) != 0 && _selectSettingCallbackBlock)
            _selectSettingCallbackBlock(bit);
    close();
}

void SettingWindowController::showRounding() {
    if (_roundingNote == nullptr || _customWidth == nullptr)
        return;
    const qint64 typedWidth = OutputCustomValues::fieldNumber(_customWidth->text());
    const qint64 typedHeight = OutputCustomValues::fieldNumber(_customHeight->text());
    const int width = OutputCustomValues::sanitizeFrameDimension(typedWidth);
    const int height = OutputCustomValues::sanitizeFrameDimension(typedHeight);
    const bool rounded = showsCustom(OutputProfile::FrameSize) && typedWidth > 0 && typedHeight > 0 &&
                         (width != typedWidth || height != typedHeight);
    _roundingNote->setText(
        rounded
            ? ResourceBundle::localizedStringForKey(QStringLiteral("CustomSizeRoundedString")).arg(width).arg(height)
            : QString());
    _roundingNote->setVisible(rounded);
}

void SettingWindowController::buildPanel(bool video, int width) {
    auto* panel = new MOQImageView(_customView);
    panel->setBackGroundColor(QColor(255, 255, 255, 48));
    panel->setBordColor(QColor(128, 128, 128));
    panel->setBorderWidth(1);
    panel->setCornerRadius(3);
    ViewFrame::setFrame(panel, {kPanelX, video ? kVideoPanelY : kAudioPanelY, width - 2 * kPanelX, kPanelHeight});
    (video ? _videoBackView : _audioBackView) = panel;

    static const std::array<const char*, 8> captions = {
        "CodecLabelTitle", "ResolutionLabel",         "Frame_RateLabelTitle",        "Bit_RateLabelTitle",
        "CodecLabelTitle", "audio_ChannelLabelTitle", "audio_Sample_RateLabelTitle", "audio_Bit_RateLabelTitle"};
    const int first = video ? OutputProfile::VideoCodec : OutputProfile::AudioCodec;
    for (int p = first; p < first + 4; ++p) {
        const auto parameter = static_cast<OutputProfile::Parameter>(p);
        const double y = rowY(rowOf(parameter));
        auto* popUp = new QComboBox(panel);
        ViewFrame::setFrame(popUp, {kPopUpX, y, kPopUpWidth, kRowHeight});
        connect(popUp, &QComboBox::activated, this, [this, parameter](int index) { chooseItem(parameter, index); });
        _popUps[p] = popUp;
        makeLabel(panel, localized(captions.at(p)), 12, Qt::AlignHCenter, {10, y, 100, kRowHeight});
    }
    if (video)
        buildCustomFields(panel, rowY(rowOf(OutputProfile::FrameSize)), rowY(rowOf(OutputProfile::VideoBitRate)));
}

void SettingWindowController::buildCustomFields(MOQImageView* panel, double frameSizeY, double bitRateY) {
    const auto makeField = [&](int tag, const ViewRect& frame) {
        auto* field = new QLineEdit(panel);
        field->setProperty("tag", tag);
        field->setAlignment(Qt::AlignCenter);
        QFont font = field->font();
        font.setPixelSize(12);
        field->setFont(font);
        // Digits only: the custom values are whole pixels and kbit/s.
        field->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("\\d{0,%1}").arg(OutputCustomValues::kMaxFieldDigits)), field));
        ViewFrame::setFrame(field, frame);
        connect(field, &QLineEdit::textChanged, this, [this, field] { customValueChange(field); });
        return field;
    };
    _customWidth = makeField(2000, {290, frameSizeY, 60, kRowHeight});
    _sp = makeLabel(panel, QStringLiteral("*"), 18, Qt::AlignHCenter, {350, frameSizeY, 15, kRowHeight});
    _customHeight = makeField(3000, {365, frameSizeY, 60, kRowHeight});
    _customVideoBit = makeField(4000, {290, bitRateY, 60, kRowHeight});

    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    const bool customSize = defaults.stringForKey(ownerKey(OutputProfile::FrameSize)) == OutputSelection::kCustomTitle;
    const bool customRate =
        defaults.stringForKey(ownerKey(OutputProfile::VideoBitRate)) == OutputSelection::kCustomTitle;
    // Filling the fields from the store must not report a change: the observation starts afterwards.
    const QSignalBlocker blockWidth(_customWidth);
    const QSignalBlocker blockHeight(_customHeight);
    const QSignalBlocker blockRate(_customVideoBit);
    if (customSize) {
        if (defaults.hasKey(OutputCustomValues::kWidthKey))
            _customWidth->setText(integerText(OutputCustomValues::width()));
        if (defaults.hasKey(OutputCustomValues::kHeightKey))
            _customHeight->setText(integerText(OutputCustomValues::height()));
    }
    if (customRate && defaults.hasKey(OutputCustomValues::kBitRateKey))
        _customVideoBit->setText(integerText(OutputCustomValues::bitRate()));
    _customWidth->setVisible(customSize);
    _sp->setVisible(customSize);
    _customHeight->setVisible(customSize);
    _customVideoBit->setVisible(customRate);
}

bool SettingWindowController::windowShouldClose() {
    Modal::stopModal();
    return true;
}

QString SettingWindowController::profilePathOrFallback() const {
    if (!_pfPath.isEmpty())
        return _pfPath;
    // A profile outside the resources resolves to no path: the window's default profile stands in for it.
    return ProfileRoot::forWindow(_joinner).defaultProfilePath();
}

bool SettingWindowController::isKeepOriginalProfile() const {
    const QString path = profilePathOrFallback();
    if (path.isEmpty())
        return false;
    return ProfileRoot::keepOriginalNames().contains(QFileInfo(path).completeBaseName());
}

QByteArray SettingWindowController::readOptions() {
    QByteArray text;
    ProfileReader::readFile(profilePathOrFallback(), &text);
    for (int p = 0; p < OutputProfile::ParameterCount; ++p) {
        const auto parameter = static_cast<OutputProfile::Parameter>(p);
        const QString value = QString::fromUtf8(
            ProfileReader::valueInText(text, QByteArrayLiteral("Parameter"), OutputProfile::profileKey(parameter)));
        _options[p] = ProfileValueParser::optionsWithoutBlanks(value).value_or(QStringList());
    }
    return text;
}

void SettingWindowController::displayViewChildes() {
    setViewChildes();
}

void SettingWindowController::setViewChildes() {
    window();
    rememberStoredValues();
    readOptions();
    const bool keepOriginal = isKeepOriginalProfile();
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    for (int p = 0; p < OutputProfile::ParameterCount; ++p) {
        const auto parameter = static_cast<OutputProfile::Parameter>(p);
        _titles[p] = std::nullopt;
        if (keepOriginal || !defaults.hasKey(ownerKey(parameter)))
            continue;
        const QString stored = defaults.stringForKey(ownerKey(parameter));
        _titles[p] = OutputProfile::isVideoParameter(parameter) ? stored : ProfileValueParser::trimBlanks(stored);
    }
    fillMenus(SettingMenuRules::Moment::Opening);
    if (_customVideoBit != nullptr && _titles[OutputProfile::VideoBitRate] == OutputSelection::kCustomTitle) {
        const QSignalBlocker block(_customVideoBit);
        _customVideoBit->setText(integerText(OutputCustomValues::bitRate()));
    }
}

void SettingWindowController::fillMenus(SettingMenuRules::Moment moment) {
    SettingMenuRules::MenuContext context;
    context.joinner = _joinner;
    context.keepOriginalProfile = isKeepOriginalProfile();
    context.moment = moment;
    context.keepOriginalTitle = ProfileRoot::keepOriginalNames().first();
    for (int p = 0; p < OutputProfile::ParameterCount; ++p) {
        QComboBox* popUp = _popUps[p];
        if (popUp == nullptr)
            continue;
        const auto parameter = static_cast<OutputProfile::Parameter>(p);
        const QStringList items = SettingMenuRules::menuItems(parameter, _options[p], context);
        popUp->clear();
        popUp->addItems(items);
        popUp->setCurrentIndex(SettingMenuRules::selectedIndex(parameter, items, _titles[p]));
    }
}

bool SettingWindowController::showsCustom(OutputProfile::Parameter parameter) const {
    const QComboBox* popUp = _popUps[parameter];
    return popUp != nullptr && popUp->currentText() == OutputSelection::kCustomTitle;
}

void SettingWindowController::chooseItem(OutputProfile::Parameter parameter, int index) {
    QComboBox* popUp = _popUps[parameter];
    if (popUp == nullptr || index < 0 || index >= popUp->count())
        return;
    popUp->setCurrentIndex(index);
    const QString title = popUp->itemText(index);
    const std::optional<QString> stored =
        SettingMenuRules::storedChoice(parameter, title, ProfileRoot::keepOriginalNames().first());
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    if (stored)
        defaults.setString(*stored, ownerKey(parameter));
    else
        defaults.removeObjectForKey(ownerKey(parameter));
    qCDebug(lcFormats).noquote()
        << QStringLiteral("items:%1").arg(parameter == OutputProfile::Channels ? title : stored.value_or(QString()));

    if (parameter == OutputProfile::FrameSize || parameter == OutputProfile::VideoBitRate) {
        const bool customSize = showsCustom(OutputProfile::FrameSize);
        _customWidth->setVisible(customSize);
        _sp->setVisible(customSize);
        _customHeight->setVisible(customSize);
        _customVideoBit->setVisible(showsCustom(OutputProfile::VideoBitRate));
        if (_fileType == 1)
            resizeForCustomValues();
        showRounding();
    }
    _changedBits |= 1 << parameter;
    if (_selectSettingCallbackBlock)
        _selectSettingCallbackBlock(1 << parameter);
}

void SettingWindowController::resizeForCustomValues() {
    const int width =
        showsCustom(OutputProfile::FrameSize) || showsCustom(OutputProfile::VideoBitRate) ? kWideWidth : kNarrowWidth;
    const ViewRect old = ViewFrame::frame(window());
    // The centre stays where it was.
    ViewFrame::setFrame(window(), {old.x + (old.width - width) / 2, old.y + (old.height - kVideoHeight) / 2,
                                   double(width), double(kVideoHeight)});
    for (MOQImageView* panel : {_videoBackView, _audioBackView}) {
        if (panel == nullptr)
            continue;
        ViewRect frame = ViewFrame::frame(panel);
        frame.width = width - 2 * kPanelX;
        ViewFrame::setFrame(panel, frame);
    }
    placeButtons(width);
}

void SettingWindowController::customValueChange(QLineEdit* field) {
    if (field == nullptr)
        return;
    if (field == _customVideoBit) {
        OutputCustomValues::setBitRate(OutputCustomValues::fieldNumber(field->text()));
        _changedBits |= SettingChangeVideoBitRate;
        if (_selectSettingCallbackBlock)
            _selectSettingCallbackBlock(SettingChangeVideoBitRate);
        return;
    }
    if (field == _customWidth || field == _customHeight) {
        OutputCustomValues::setFrameSize(OutputCustomValues::fieldNumber(_customWidth->text()),
                                         OutputCustomValues::fieldNumber(_customHeight->text()));
        showRounding();
        _changedBits |= SettingChangeResolution;
        if (_selectSettingCallbackBlock)
            _selectSettingCallbackBlock(SettingChangeResolution);
    }
}

void SettingWindowController::defaultSettings() {
    const QByteArray text = readOptions();
    const bool keepOriginal = isKeepOriginalProfile();
    for (int p = 0; p < OutputProfile::ParameterCount; ++p) {
        if (keepOriginal) {
            _titles[p] = QString(QLatin1String(""));
            continue;
        }
        // The value's own default; a value with nothing before its options defaults to its first option, so
        // Default always puts back a choice of the profile.
        const auto parameter = static_cast<OutputProfile::Parameter>(p);
        const QString value = QString::fromUtf8(
            ProfileReader::valueInText(text, QByteArrayLiteral("Parameter"), OutputProfile::profileKey(parameter)));
        _titles[p] = ProfileValueParser::resultSelectItemTitleForContentStr(value);
        // A profile that names no frame size keeps the source's: a default never makes the picture larger.
        if (parameter == OutputProfile::FrameSize && (!_titles[p] || _titles[p]->isEmpty()))
            continue;
        if (!_titles[p] || _titles[p]->isEmpty())
            _titles[p] = firstOption(value);
    }
}

void SettingWindowController::actiondefaultBtn() {
    defaultSettings();
    fillMenus(SettingMenuRules::Moment::Default);
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    for (int p = 0; p < OutputProfile::ParameterCount; ++p) {
        const auto parameter = static_cast<OutputProfile::Parameter>(p);
        // All eight, the video ones of an audio profile included: its file names them too.
        if (_titles[p] && !_titles[p]->isEmpty())
            defaults.setString(*_titles[p], ownerKey(parameter));
        else
            defaults.removeObjectForKey(ownerKey(parameter));
    }
    _changedBits |= SettingChangeVideoCodec | SettingChangeResolution | SettingChangeFrameRate |
                    SettingChangeVideoBitRate | SettingChangeAudioCodec | SettingChangeChannels |
                    SettingChangeSampleRate | SettingChangeAudioBitRate;
    showRounding();
    if (_settingCallbackBlock)
        _settingCallbackBlock();
}
