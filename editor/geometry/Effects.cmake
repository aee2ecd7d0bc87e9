# The editor's colour, volume and effect panel and its subtitle panel: their models (the effect list file, the
# subtitle reader, the font list, the records), the panels and their editors.
add_library(editor_effects STATIC
    ${CMAKE_CURRENT_LIST_DIR}/EffectEditor.cpp ${CMAKE_CURRENT_LIST_DIR}/EffectEditor.h
    ${CMAKE_CURRENT_LIST_DIR}/EffectHost.h
    ${CMAKE_CURRENT_LIST_DIR}/EffectListFile.cpp ${CMAKE_CURRENT_LIST_DIR}/EffectListFile.h
    ${CMAKE_CURRENT_LIST_DIR}/EffectPanel.cpp ${CMAKE_CURRENT_LIST_DIR}/EffectPanel.h
    ${CMAKE_CURRENT_LIST_DIR}/EffectSettings.cpp ${CMAKE_CURRENT_LIST_DIR}/EffectSettings.h
    ${CMAKE_CURRENT_LIST_DIR}/SubtitleEditor.cpp ${CMAKE_CURRENT_LIST_DIR}/SubtitleEditor.h
    ${CMAKE_CURRENT_LIST_DIR}/SubtitleFileReader.cpp ${CMAKE_CURRENT_LIST_DIR}/SubtitleFileReader.h
    ${CMAKE_CURRENT_LIST_DIR}/SubtitleFontList.cpp ${CMAKE_CURRENT_LIST_DIR}/SubtitleFontList.h
    ${CMAKE_CURRENT_LIST_DIR}/SubtitleHost.h
    ${CMAKE_CURRENT_LIST_DIR}/SubtitlePanel.cpp ${CMAKE_CURRENT_LIST_DIR}/SubtitlePanel.h
    ${CMAKE_CURRENT_LIST_DIR}/SubtitleRecord.cpp ${CMAKE_CURRENT_LIST_DIR}/SubtitleRecord.h)
target_include_directories(editor_effects PUBLIC ${CMAKE_CURRENT_LIST_DIR})
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
target_link_libraries(editor_effects PUBLIC shell mediaplayer Qt6::Widgets PRIVATE PkgConfig::FONTCONFIG)
