#include "SettingMenuRules.h"

#include <gtest/gtest.h>

namespace {

using P = OutputProfile;
const QString kKeep = QStringLiteral("Keep Original");

SettingMenuRules::MenuContext context(bool joinner, bool keepProfile, SettingMenuRules::Moment moment) {
    return {joinner, keepProfile, moment, kKeep};
}

} // namespace

TEST(SettingMenuRules, MenusByOwnerProfileAndMoment) {
    using M = SettingMenuRules::Moment;
    struct Case {
        const char* name;
        P::Parameter parameter;
        QStringList options;
        SettingMenuRules::MenuContext context;
        QStringList expected;
    };
    const Case cases[] = {
        {"editor codec", P::VideoCodec, {"H264", "HEVC"}, context(false, false, M::Opening), {"H264", "HEVC"}},
        {"editor codec, keep-original profile",
         P::VideoCodec,
         {"H264"},
         context(false, true, M::Opening),
         {kKeep, "H264"}},
        {"codec after Default never", P::AudioCodec, {"AAC"}, context(false, true, M::Default), {"AAC"}},
        {"joiner codec, keep-original profile",
         P::AudioCodec,
         {"AAC"},
         context(true, true, M::Opening),
         {kKeep, "AAC"}},
        {"editor frame size",
         P::FrameSize,
         {"640x480"},
         context(false, false, M::Opening),
         {kKeep, "640x480", "Custom"}},
        {"joiner frame size",
         P::FrameSize,
         {"640x480"},
         context(true, false, M::Opening),
         {kKeep, "640x480", "Custom"}},
        {"editor frame rate",
         P::FrameRate,
         {"25", "29.97"},
         context(false, false, M::Opening),
         {kKeep, "25 fps", "29.97 fps"}},
        {"editor bit rate has no Custom",
         P::VideoBitRate,
         {"1000"},
         context(false, false, M::Opening),
         {kKeep, "1000 kbps"}},
        {"joiner bit rate", P::VideoBitRate, {"1000"}, context(true, false, M::Opening), {"1000 kbps", "Custom"}},
        {"joiner channels", P::Channels, {"1", "2(Stereo)"}, context(true, false, M::Opening), {"1", "2(Stereo)"}},
        {"editor sample rate", P::SampleRate, {"44100"}, context(false, false, M::Default), {kKeep, "44100 hz"}},
        {"audio bit rate, quotes and empty options",
         P::AudioBitRate,
         {"\"128\"", "", "\"\""},
         context(true, false, M::Opening),
         {"128 kbps"}},
        {"no options", P::AudioBitRate, {}, context(true, false, M::Opening), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SettingMenuRules::menuItems(c.parameter, c.options, c.context), c.expected) << c.name;
}

TEST(SettingMenuRules, SelectionRule) {
    struct Case {
        P::Parameter parameter;
        QStringList items;
        std::optional<QString> title;
        int expected;
    };
    const Case cases[] = {
        {P::FrameRate, {kKeep, "25 fps", "29.97 fps", "30 fps"}, std::nullopt, 0},
        {P::FrameRate, {kKeep, "25 fps", "29.97 fps", "30 fps"}, QString(" "), 0},
        {P::FrameRate, {kKeep, "25 fps", "29.97 fps", "30 fps"}, QString("29.97"), 2},
        {P::FrameRate, {"23.976 fps", "29 fps", "29.97 fps"}, QString("29.97"), 1},
        {P::FrameRate, {"25 fps"}, QString("60"), 0},
        {P::VideoBitRate, {"1000 kbps", "2000 kbps", "Custom"}, QString("Custom"), 2},
        {P::VideoBitRate, {"1000 kbps", "2000 kbps", "Custom"}, QString("2000"), 1},
        {P::VideoBitRate, {"1000 kbps", "Custom"}, QString("0"), 0},
        {P::FrameSize, {kKeep, "640x480", "1280x720", "Custom"}, QString("1280x720"), 2},
        {P::FrameSize, {kKeep, "640x480", "Custom"}, QString("1280"), 0},
        {P::Channels, {"1", "2(Stereo)"}, QString("2(Stereo)"), 1},
        {P::VideoCodec, {kKeep, "H264"}, QString(kKeep), 0},
        {P::VideoCodec, {}, QString("H264"), -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SettingMenuRules::selectedIndex(c.parameter, c.items, c.title), c.expected)
            << c.items.join('|').toStdString() << " / " << c.title.value_or("(none)").toStdString();
}

TEST(SettingMenuRules, StoredChoiceCutsUnits) {
    EXPECT_EQ(SettingMenuRules::storedChoice(P::FrameRate, "29.97 fps", kKeep), QString("29.97"));
    EXPECT_EQ(SettingMenuRules::storedChoice(P::VideoBitRate, "1000 kbps", kKeep), QString("1000"));
    EXPECT_EQ(SettingMenuRules::storedChoice(P::SampleRate, "44100 hz", kKeep), QString("44100"));
    EXPECT_EQ(SettingMenuRules::storedChoice(P::VideoBitRate, "Custom", kKeep), QString("Custom"));
    EXPECT_EQ(SettingMenuRules::storedChoice(P::Channels, "2(Stereo)", kKeep), QString("2(Stereo)"));
    EXPECT_EQ(SettingMenuRules::storedChoice(P::FrameSize, "1280x720", kKeep), QString("1280x720"));
    EXPECT_EQ(SettingMenuRules::storedChoice(P::AudioCodec, kKeep, kKeep), std::nullopt);
}
