# Crop and rotation: the overlay's box model, the crop geometry, the panels, and the export against the preview.
add_executable(editor_crop_tests
    ${CMAKE_CURRENT_LIST_DIR}/LQUICliperModelTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CropGeometryTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CropTestSupport.h
    ${CMAKE_CURRENT_LIST_DIR}/CropRotateEditorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CropRotateExportTest.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/../mediaplayer/PlayerTestSupport.cpp)
target_include_directories(editor_crop_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../mediaplayer)
target_link_libraries(editor_crop_tests PRIVATE editor_crop testmain_gui Qt6::Test)
gtest_discover_tests(editor_crop_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

# The crop and rotate modes in the real editor window.
add_executable(editor_crop_window_tests
    ${CMAKE_CURRENT_LIST_DIR}/CropWindowEndToEndTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CropTestSupport.h)
target_link_libraries(editor_crop_window_tests PRIVATE editor shelltestsupport testmain_gui Qt6::Test)
gtest_discover_tests(editor_crop_window_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
