# Background music: the timing rules, the timeline bar, the panel, and an export mixing tracks measured in its sound.
add_executable(editor_music_tests
    ${CMAKE_CURRENT_LIST_DIR}/MusicEditorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MusicExportTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MusicRangeSliderModelTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MusicTestSupport.h
    ${CMAKE_CURRENT_LIST_DIR}/MusicTimingTest.cpp)
target_link_libraries(editor_music_tests PRIVATE editor_music shelltestsupport testmain_gui Qt6::Test)
gtest_discover_tests(editor_music_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

# The music mode in the real editor window, end to end.
add_executable(editor_music_window_tests
    ${CMAKE_CURRENT_LIST_DIR}/MusicWindowEndToEndTest.cpp)
target_include_directories(editor_music_window_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(editor_music_window_tests PRIVATE editor shelltestsupport testmain_gui Qt6::Test)
gtest_discover_tests(editor_music_window_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
