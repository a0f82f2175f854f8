#pragma once

#include <QString>

// The pictures and icons of the shell (a Qt resource of the program); safe to call more than once.
void EnsureShellResources();

// The maker's web address, as shown and as opened.
QString OrvalenWebAddress();
QString OrvalenWebPage();
// The support mailbox and web page.
QString SupportMailAddress();
QString SupportWebPage();
// The legal warning of the splash screen and the about box.
QString DisclaimerText();
