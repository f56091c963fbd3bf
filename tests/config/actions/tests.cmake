korvantis_add_tests(config/actions korvantis_config_actions korvantis_unitsim)
# The device tests drive the program's one Device against the simulated unit
# with the rig and message recorder of the fieldbus tests.
foreach(t config_actions_tst_configactionbar config_actions_tst_networkpages config_actions_tst_resetip_veth)
  if(TARGET ${t})
    target_link_libraries(${t} PRIVATE config_fieldbus_fixtures)
  endif()
endforeach()
