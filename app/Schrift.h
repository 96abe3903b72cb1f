#pragma once

// The window's font. Its captions were laid out for Arial 9.75 point, the title for Arial
// 15.75 point bold, and fit their controls only in a font of Arial's widths. Liberation Sans
// and Arimo have exactly those widths and are free to install with the program; Arial itself
// is taken where neither is there. On a desktop without any of them the font put in their place
// is usually wider: it is then made smaller until every caption fits its control.

class QWidget;

namespace fenster {

// Sets the window's font: the family of Arial's widths, 9.75 point.
void SchriftSetzen(QWidget& fenster);

// Makes every caption of the window fit its control: the captions that follow the window's font
// together, and each caption with a font of its own (the title) by itself, in steps of a quarter
// point. Called once the controls stand.
void BeschriftungenEinpassen(QWidget& fenster);

} // namespace fenster
