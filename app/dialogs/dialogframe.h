#pragma once

class QLabel;
class QWidget;

// What the About and licence dialogs do to their frame when they are built.

// Moves `widget` so that its centre lies on the centre of the first screen.
void centreOnFirstScreen(QWidget *widget);

// Shows the label's logo at half its width and height, times the display
// scale factor `factor`.
void scaleLogo(QLabel *label, double factor);
