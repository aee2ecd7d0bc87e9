#include "HelpClass.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(HelpClass, FormatsTimesAsHoursMinutesSecondsAndHundredths) {
    // Single precision lies just below 3599.99 and 3.07: the time shown is still the time typed.
    const std::pair<float, const char*> cases[] = {
        {3725.5f, "01:02:05.50"},  {360000.25f, "100:00:00.25"}, {0.0f, "00:00:00.00"},
        {-1.5f, "00:00:00.00"},    {59.99f, "00:00:59.99"},      {5.999f, "00:00:05.99"},
        {3599.99f, "00:59:59.99"}, {3.07f, "00:00:03.07"},       {61.0f, "00:01:01.00"},
    };
    for (const auto& [seconds, expected] : cases)
        EXPECT_EQ(HelpClass::returnTimeToStr(seconds), expected) << seconds;
}

TEST(HelpClass, CutFileNamesDropTheColons) {
    EXPECT_EQ(HelpClass::returnTimeToCutFileName(3725.5f), "010205.50");
    EXPECT_EQ(HelpClass::returnTimeToCutFileName(0.0f), "000000.00");
}

TEST(HelpClass, TimeFromPartsNeitherReducesNorShowsNegatives) {
    EXPECT_EQ(HelpClass::retrnTimeToStr(0, 75, 0, 0), "00:75:00.00");
    EXPECT_EQ(HelpClass::retrnTimeToStr(-1, 2, 3, 4), "00:02:03.04");
    EXPECT_EQ(HelpClass::retrnTimeToStr(123, 4, 5, 6), "123:04:05.06");
}

TEST(HelpClass, TimesThatAreNotNumbersShowAsZero) {
    EXPECT_EQ(HelpClass::returnTimeToStr(std::numeric_limits<float>::quiet_NaN()), "00:00:00.00");
    EXPECT_EQ(HelpClass::returnTimeToStr(-std::numeric_limits<float>::infinity()), "00:00:00.00");
}

TEST(HelpClass, CreatesATimeStampName) {
    const QDateTime before = QDateTime::currentDateTime();
    const QString name = HelpClass::createFilename();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d$").match(name).hasMatch())
        << name.toStdString();
    const QDateTime parsed = QDateTime::fromString(name, "yyyy-MM-dd_HH-mm-ss");
    EXPECT_GE(parsed.toSecsSinceEpoch(), before.toSecsSinceEpoch());
    EXPECT_LE(parsed.toSecsSinceEpoch(), after.toSecsSinceEpoch());
}

TEST(HelpClass, PacksColoursIntoTheEngineColourWord) {
    const std::pair<QColor, uint32_t> cases[] = {
        {QColor(255, 255, 255), 0xFFFFFF00u},
        {QColor(255, 0, 0), 0xFF000000u},
        {QColor(0, 0, 255), 0x0000FF00u},
        {QColor::fromRgbF(0.5f, 0, 0), 0x7F000000u},
        {QColor(255, 0, 0, 0), 0xFF000000u}, // alpha is not packed
        {QColor(33, 176, 235), 0x21B0EB00u},
        {QColor::fromHsv(120, 255, 255), 0x00FF0000u}, // other colour specs are converted to RGB first
        {QColor(), 0u},                                // no colour: all components 0
    };
    for (const auto& [colour, word] : cases)
        EXPECT_EQ(HelpClass::retDwordColorVolue(colour), word) << colour.name().toStdString();
}

TEST(HelpClass, ColourComponentsOutsideTheRangeAreClampedToTheirOwnByte) {
    // Extended-range components: 1.5 x 255 would spill into the next byte, a negative one would borrow from it.
    EXPECT_EQ(HelpClass::retDwordColorVolue(QColor::fromRgbF(1.5f, -0.25f, 0.25f)), 0xFF003F00u);
    EXPECT_EQ(HelpClass::retDwordColorVolue(QColor::fromRgbF(-1.0f, 2.0f, -3.0f)), 0x00FF0000u);
    EXPECT_EQ(HelpClass::retDwordColorVolue(QColor::fromRgbF(0, 0, 9.0f)) & 0xFFu, 0u) << "low byte stays 0";
}

TEST(HelpClass, MeasuresTextWithItsDefaults) {
    const ViewRect empty = HelpClass::getHeightOfText(QString(), 300, 100, std::nullopt);
    QFont font30 = QGuiApplication::font();
    font30.setPixelSize(30);
    const ViewRect explicitEmpty = HelpClass::getHeightOfText("", 300, 100, font30);
    EXPECT_EQ(empty, explicitEmpty) << "no text and no font measure \"\" in the 30-point font";
    EXPECT_EQ(empty.width, 0);
    EXPECT_GT(empty.height, 4);

    const ViewRect word = HelpClass::getHeightOfText("Clipwright", 300, 100, font30);
    EXPECT_GT(word.width, 0);
    EXPECT_EQ(word.height, empty.height);
    QFont font10 = font30;
    font10.setPixelSize(10);
    EXPECT_LT(HelpClass::getHeightOfText("Clipwright", 300, 100, font10).height, word.height);
}

TEST(HelpClass, BuildsButtonTitles) {
    const ButtonTitle empty = HelpClass::retButtonTitle("", Qt::red, "DejaVu Sans", 14, true, 1);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.hasAttributes);

    const ButtonTitle shadowed = HelpClass::retButtonTitle("Start", QColor(), "DejaVu Sans", 0, true, 0);
    EXPECT_TRUE(shadowed.hasAttributes);
    EXPECT_EQ(shadowed.color, QColor(Qt::black));
    EXPECT_EQ(shadowed.font.pixelSize(), 12) << "layout points are logical pixels";
    EXPECT_EQ(shadowed.alignment, Qt::AlignHCenter);
    EXPECT_EQ(shadowed.shadowBlurRadius, 2);
    EXPECT_EQ(shadowed.shadowOffset, (ViewSize{1, 2}));

    const ButtonTitle plain = HelpClass::retButtonTitle("Start", Qt::white, "DejaVu Sans", 16, false, 1);
    EXPECT_EQ(plain.font.pixelSize(), 16);
    EXPECT_EQ(plain.alignment, Qt::AlignRight);
    EXPECT_EQ(plain.shadowBlurRadius, 0);
    EXPECT_EQ(plain.shadowColor, QColor(Qt::white));
    EXPECT_EQ(plain.shadowOffset, (ViewSize{0, 0}));

    const std::pair<unsigned, Qt::Alignment> alignments[] = {
        {0, Qt::AlignHCenter}, {1, Qt::AlignRight}, {2, Qt::AlignHCenter}, {3, Qt::AlignJustify}, {4, Qt::AlignLeft}};
    for (const auto& [value, alignment] : alignments)
        EXPECT_EQ(HelpClass::retButtonTitle("x", Qt::white, "", 12, false, value).alignment, alignment) << value;
}
