# Colour, volume, effects and subtitles: the models, the two panels with a real preview, and the export.
add_executable(editor_effects_tests
    ${CMAKE_CURRENT_LIST_DIR}/EffectEditorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EffectModelsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EffectsExportTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EffectsWindowEndToEndTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EffectsTestSupport.h
    ${CMAKE_CURRENT_SOURCE_DIR}/EditorPreviewStandIn.h
    ${CMAKE_CURRENT_LIST_DIR}/SubtitleEditorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SubtitleModelsTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/../mediaplayer/PlayerTestSupport.cpp)
target_include_directories(editor_effects_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../mediaplayer ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(editor_effects_tests PRIVATE editor editor_effects shelltestsupport testmain_gui Qt6::Test)
gtest_discover_tests(editor_effects_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
