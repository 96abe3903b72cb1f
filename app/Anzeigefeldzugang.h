#pragma once

// What a screen reader learns of a display field: a name of its own that stays while a run
// changes the content, the content (a path, a counter's figures) as the field's text, and for a
// path field that it is a button whose press opens its choice, as a click or Enter does.

namespace fenster {

class Anzeigefeld;

// Lets Qt describe the field so; called when the field is made.
void ZugangEinrichten(Anzeigefeld& feld);

} // namespace fenster
