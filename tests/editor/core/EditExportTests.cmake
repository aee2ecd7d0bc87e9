# Trim and export: the plan and the time rules on their cases, the exports through the engine.
add_executable(editor_export_tests
    ${CMAKE_CURRENT_LIST_DIR}/EditExportClips.h
    ${CMAKE_CURRENT_LIST_DIR}/EditExportEngineTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditExportPlanTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrimPanelTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrimTimeRulesTest.cpp)
target_link_libraries(editor_export_tests PRIVATE editor_export shelltestsupport testmain_gui Qt6::Test)
gtest_discover_tests(editor_export_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

# Trim and export in the real window: refusals at Start, the copy taken at Start, cancel.
add_executable(editor_export_window_tests
    ${CMAKE_CURRENT_LIST_DIR}/EditExportWindowTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditorWindowTestSupport.h)
target_link_libraries(editor_export_window_tests PRIVATE editor shelltestsupport testmain_gui Qt6::Test)
gtest_discover_tests(editor_export_window_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
