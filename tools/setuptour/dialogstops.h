#pragma once

#include "tour.h"

// Stops of the tour for the dialogs that the main window runs in its dialog
// page.

// The connect dialog after its discovery, left by connecting to the tour's
// unit (which then asks whether to read its configuration).
TourStop connectDialogStop();
// About (with the unit's identification), licence and help.
TourStop aboutStop();
TourStop licenseStop();
TourStop scalingStop();
TourStop languageStop();
TourStop helpStop();
// The reference-run result dialog, left with every value applied.
TourStop refRunStop();
