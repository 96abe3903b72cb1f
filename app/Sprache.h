#pragma once

// The window speaks German whatever the desktop's language: its own texts are German, and the
// standard buttons and file dialogs that Qt draws take their German texts from Qt's own
// translations.

class QCoreApplication;

namespace fenster {

// Installs Qt's German texts (Ja, Nein, Abbrechen, the file dialogs) into the application.
// False when the translations are not installed; the dialogs then show Qt's English texts.
bool DeutscheStandardtexteLaden(QCoreApplication& anwendung);

} // namespace fenster
