#pragma once

// Qt's own texts in Spanish, as the rest of the window: a text box's context
// menu, key names ("Ctrl+Mayús+C"), standard buttons. From Qt's translations
// beside the program (Windows), else the system's (Debian's
// qt6-translations-l10n); where neither is found, Qt's English.
void translateQtIntoSpanish();
