korvantis_add_tests(config/view korvantis_config_view)
# The view inside the main window against the simulated unit, with the
# message box answerer of the main window tests.
if(TARGET config_view_tst_configview_window)
  target_link_libraries(config_view_tst_configview_window PRIVATE korvantis_mainwindow korvantis_unitsim
      app_mainwindow_fixtures)
endif()
if(TARGET config_view_tst_configview_shutdown)
  target_link_libraries(config_view_tst_configview_shutdown PRIVATE korvantis_mainwindow app_mainwindow_fixtures)
endif()
