# The editor's trim and export: the settings copied at Start, the jobs built from them, the trim panel with its
# time rules, and the run that owns an export's private piece folder.
add_library(editor_export STATIC
    ${CMAKE_CURRENT_LIST_DIR}/EditExportPlan.cpp ${CMAKE_CURRENT_LIST_DIR}/EditExportPlan.h
    ${CMAKE_CURRENT_LIST_DIR}/EditExportRun.cpp ${CMAKE_CURRENT_LIST_DIR}/EditExportRun.h
    ${CMAKE_CURRENT_LIST_DIR}/EditExportSettings.cpp ${CMAKE_CURRENT_LIST_DIR}/EditExportSettings.h
    ${CMAKE_CURRENT_LIST_DIR}/TrimExport.md
    ${CMAKE_CURRENT_LIST_DIR}/TrimHost.h
    ${CMAKE_CURRENT_LIST_DIR}/TrimPanel.cpp ${CMAKE_CURRENT_LIST_DIR}/TrimPanel.h
    ${CMAKE_CURRENT_LIST_DIR}/TrimTimeRules.cpp ${CMAKE_CURRENT_LIST_DIR}/TrimTimeRules.h)
target_include_directories(editor_export PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(editor_export PUBLIC shell formats Qt6::Widgets)
