#include "shell/ShellResources.h"

#include <QtGlobal>

static void initShellResources()
{
    Q_INIT_RESOURCE(icons);
}

void EnsureShellResources()
{
    static const bool done = [] {
        initShellResources();
        return true;
    }();
    (void)done;
}

QString OrvalenWebAddress()
{
    return QStringLiteral("www.orvalen.example");
}

QString OrvalenWebPage()
{
    return QStringLiteral("https://www.orvalen.example/");
}

QString SupportMailAddress()
{
    return QStringLiteral("support@tessivo.example");
}

QString SupportWebPage()
{
    return QStringLiteral("https://www.tessivo.example/support");
}

QString DisclaimerText()
{
    return QStringLiteral("Warning: this program is protected by copyright law. Copying or passing on this "
                          "program, or any part of it, without the maker's written permission is not allowed "
                          "and may lead to prosecution.");
}
