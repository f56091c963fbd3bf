# The main window comes first: its mainwindow.h, not the loader's, is the one
# these tests include.
korvantis_add_tests(config/firmware korvantis_mainwindow korvantis_config_firmware korvantis_bootsim loader_fixtures)
