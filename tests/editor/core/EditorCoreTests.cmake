# The editor window: its layout arithmetic, and the window driven offscreen on generated clips.
add_executable(editor_core_tests
    ${CMAKE_CURRENT_LIST_DIR}/EditorLayoutTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorWatermarkEndToEndTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorWindowEndToEndTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorWindowHabitsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorWindowTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorWindowTestSupport.h
    ${CMAKE_CURRENT_SOURCE_DIR}/../shell/FakeMediaJob.cpp)
target_link_libraries(editor_core_tests PRIVATE editor shelltestsupport testmain_gui Qt6::Test)
gtest_discover_tests(editor_core_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
