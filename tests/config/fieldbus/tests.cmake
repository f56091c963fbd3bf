korvantis_add_tests(config/fieldbus korvantis_config_fieldbus korvantis_unitsim)
# The page inside the main window against the simulated unit, with the
# message box answerer of the main window tests.
if(TARGET config_fieldbus_tst_fieldbus_window)
  target_link_libraries(config_fieldbus_tst_fieldbus_window PRIVATE korvantis_mainwindow korvantis_unitsim
      app_mainwindow_fixtures)
endif()
if(TARGET config_fieldbus_tst_fieldbus_modules_window)
  target_link_libraries(config_fieldbus_tst_fieldbus_modules_window PRIVATE korvantis_mainwindow korvantis_unitsim
      app_mainwindow_fixtures)
endif()
if(TARGET config_fieldbus_tst_fieldbus_two_units_window)
  target_link_libraries(config_fieldbus_tst_fieldbus_two_units_window PRIVATE korvantis_mainwindow korvantis_unitsim
      app_mainwindow_fixtures)
endif()
