# The background music of the editor: each item's timing, the timeline bar, the panel, and the tracks given to the
# preview and the export.
add_library(editor_music STATIC
    ${CMAKE_CURRENT_LIST_DIR}/MOQDraggedView.cpp ${CMAKE_CURRENT_LIST_DIR}/MOQDraggedView.h
    ${CMAKE_CURRENT_LIST_DIR}/MusicDubbing.cpp ${CMAKE_CURRENT_LIST_DIR}/MusicDubbing.h
    ${CMAKE_CURRENT_LIST_DIR}/MusicEditor.cpp ${CMAKE_CURRENT_LIST_DIR}/MusicEditor.h
    ${CMAKE_CURRENT_LIST_DIR}/MusicHost.h
    ${CMAKE_CURRENT_LIST_DIR}/MusicPanel.cpp ${CMAKE_CURRENT_LIST_DIR}/MusicPanel.h
    ${CMAKE_CURRENT_LIST_DIR}/MusicRangeSlider.cpp ${CMAKE_CURRENT_LIST_DIR}/MusicRangeSlider.h
    ${CMAKE_CURRENT_LIST_DIR}/MusicRangeSliderDelegate.h
    ${CMAKE_CURRENT_LIST_DIR}/MusicRangeSliderModel.cpp ${CMAKE_CURRENT_LIST_DIR}/MusicRangeSliderModel.h
    ${CMAKE_CURRENT_LIST_DIR}/MusicTiming.cpp ${CMAKE_CURRENT_LIST_DIR}/MusicTiming.h)
target_include_directories(editor_music PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(editor_music PUBLIC editor_watermarks shell mediaplayer Qt6::Widgets)
