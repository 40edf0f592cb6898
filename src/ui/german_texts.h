// Qt's own texts (file pickers, standard buttons, context menus of text fields) in
// German, whatever the locale the station was started in.
#pragma once

// Loads Qt's German translation into the running application; false when it is not
// installed, and Qt then speaks English.
bool InstallGermanTexts();
