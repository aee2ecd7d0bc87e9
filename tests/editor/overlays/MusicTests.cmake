# Background music: the timing rules, the timeline bar, the panel, and an export mixing tracks measured in its sound.
add_executable(editor_music_tests
    ${CMAKE_CURRENT_LIST_DIR}/MusicEditorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MusicExportTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MusicRangeSliderModelTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MusicTestSupport.h
    ${CMAKE_CURRENT_LIST_DIR}/MusicTimingTest.cpp)
target_link_libraries(editor_music_tests PRIVATE editor_music shelltestsupport testmain_gui Qt6::Test)
gtest_discover_tests(editor_music_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
