#pragma once

#include <QString>

// The pictures and icons of the shell (a Qt resource of the program); safe to call more than once.
void ensureShellResources();

// The maker's web address, as shown and as opened.
QString orvalenWebAddress();
QString orvalenWebPage();
// The support mailbox and web page.
QString supportMailAddress();
QString supportWebPage();
// The legal warning of the splash screen and the about box.
QString disclaimerText();
