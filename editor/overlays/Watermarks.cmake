# The watermarks of the editor: the overlay, its box model, the records for the preview and the export, and the
# drawing callbacks the engine and the player call.
add_library(editor_watermarks STATIC
    ${CMAKE_CURRENT_LIST_DIR}/LQWaterView.cpp ${CMAKE_CURRENT_LIST_DIR}/LQWaterView.h
    ${CMAKE_CURRENT_LIST_DIR}/LQWaterViewDelegate.h
    ${CMAKE_CURRENT_LIST_DIR}/WaterMarkCellItemView.cpp ${CMAKE_CURRENT_LIST_DIR}/WaterMarkCellItemView.h
    ${CMAKE_CURRENT_LIST_DIR}/WaterViewModel.cpp ${CMAKE_CURRENT_LIST_DIR}/WaterViewModel.h
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkEditRules.cpp ${CMAKE_CURRENT_LIST_DIR}/WatermarkEditRules.h
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkEditor.cpp ${CMAKE_CURRENT_LIST_DIR}/WatermarkEditor.h
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkHost.h
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkJobSink.h
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkPanel.cpp ${CMAKE_CURRENT_LIST_DIR}/WatermarkPanel.h
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkPlayerSink.h
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkRecordBuilder.cpp ${CMAKE_CURRENT_LIST_DIR}/WatermarkRecordBuilder.h
    ${CMAKE_CURRENT_LIST_DIR}/WatermarkRendering.cpp ${CMAKE_CURRENT_LIST_DIR}/WatermarkRendering.h
    ${CMAKE_CURRENT_LIST_DIR}/TimeStepper.cpp ${CMAKE_CURRENT_LIST_DIR}/TimeStepper.h)
target_include_directories(editor_watermarks PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(editor_watermarks PUBLIC shell mediaplayer Qt6::Widgets)
