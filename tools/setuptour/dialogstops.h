#pragma once

#include "tour.h"

// Stops of the tour for the dialogs that the main window runs in its dialog
// page.

// The connect dialog after its discovery, left by connecting to the tour's
// unit (which then asks whether to read its configuration).
TourStop connectDialogStop();
// The connect dialog opened while connected (its header names the unit
// beside the link mark), with a typing error on the bar over the dialog
// page; left by Close, so the tool stays disconnected: the tour's last stop.
TourStop connectedDialogStop();
// About (with the unit's identification), licence and help.
TourStop aboutStop();
TourStop licenseStop();
TourStop scalingStop();
TourStop languageStop();
TourStop helpStop();
// The reference-run result dialog, left with every value applied.
TourStop refRunStop();
