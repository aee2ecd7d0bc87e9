#pragma once

// What the settings dialog reports after one change: exactly one bit per report.
enum SettingChangeMask : int {
    SettingChangeVideoCodec = 1,
    SettingChangeResolution = 2, // custom width and height included
    SettingChangeFrameRate = 4,
    SettingChangeVideoBitRate = 8, // custom bit rate included
    SettingChangeAudioCodec = 16,
    SettingChangeChannels = 32,
    SettingChangeSampleRate = 64,
    SettingChangeAudioBitRate = 128,
};
