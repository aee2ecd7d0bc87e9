# Crop and rotation of the editor: the crop overlay and its box model, the crop geometry, the crop and rotate
# panels, and the crop, rotation and mirrors for the preview and the export.
add_library(editor_crop STATIC
    ${CMAKE_CURRENT_LIST_DIR}/AdjustPanel.cpp ${CMAKE_CURRENT_LIST_DIR}/AdjustPanel.h
    ${CMAKE_CURRENT_LIST_DIR}/CropPanel.cpp ${CMAKE_CURRENT_LIST_DIR}/CropPanel.h
    ${CMAKE_CURRENT_LIST_DIR}/CropRotateEditor.cpp ${CMAKE_CURRENT_LIST_DIR}/CropRotateEditor.h
    ${CMAKE_CURRENT_LIST_DIR}/CropRotateHost.h
    ${CMAKE_CURRENT_LIST_DIR}/CropGeometry.cpp ${CMAKE_CURRENT_LIST_DIR}/CropGeometry.h
    ${CMAKE_CURRENT_LIST_DIR}/CropRotateSettings.cpp ${CMAKE_CURRENT_LIST_DIR}/CropRotateSettings.h
    ${CMAKE_CURRENT_LIST_DIR}/LQUICliper.cpp ${CMAKE_CURRENT_LIST_DIR}/LQUICliper.h
    ${CMAKE_CURRENT_LIST_DIR}/LQUICliperDelegate.h
    ${CMAKE_CURRENT_LIST_DIR}/LQUICliperModel.cpp ${CMAKE_CURRENT_LIST_DIR}/LQUICliperModel.h)
target_include_directories(editor_crop PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(editor_crop PUBLIC shell mediaplayer Qt6::Widgets)
