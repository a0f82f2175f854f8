#include "shell/ShellResources.h"

#include <QtGlobal>

static void initShellResources()
{
    Q_INIT_RESOURCE(icons);
}

void ensureShellResources()
{
    static const bool done = [] {
        initShellResources();
        return true;
    }();
    (void)done;
}

QString orvalenWebAddress()
{
    return QStringLiteral("www.orvalen.example");
}

QString orvalenWebPage()
{
    return QStringLiteral("https://www.orvalen.example/");
}

QString supportMailAddress()
{
    return QStringLiteral("support@tessivo.example");
}

QString supportWebPage()
{
    return QStringLiteral("https://www.tessivo.example/support");
}

QString disclaimerText()
{
    return QStringLiteral("Warning: this program is protected by copyright law. Copying or passing on this "
                          "program, or any part of it, without the maker's written permission is not allowed "
                          "and may lead to prosecution.");
}
