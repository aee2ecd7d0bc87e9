# Watermarks: the box model, the records, the drawing callbacks; the export and the preview with all three kinds.
add_executable(editor_watermark_tests
    ${CMAKE_CURRENT_LIST_DIR}/WaterViewModelTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkEditRulesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkEditorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkRecordBuilderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkRenderingTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkTestSupport.h
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkExportTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkPanelEndToEndTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/../mediaplayer/PlayerTestSupport.cpp)
target_include_directories(editor_watermark_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../mediaplayer ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(editor_watermark_tests PRIVATE editor_watermarks shelltestsupport testmain_gui Qt6::Test)
gtest_discover_tests(editor_watermark_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
