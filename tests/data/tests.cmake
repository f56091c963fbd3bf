# The reference-run dialog tests talk to the simulated unit through the link
# tests' fixture.
korvantis_add_tests(data korvantis_data_core korvantis_data_render korvantis_data_models korvantis_data_graphs korvantis_data_refrun
    korvantis_data_page
    link_fixtures korvantis_unitsim)
