# Checks of the source tree's shape (include layering); they read the
# sources and link no project library.
korvantis_add_tests(structure)
