#pragma once

#include "platform/Database.h"
#include "widgets/Dialogs.h"

#include <QString>

// A failed database operation of a Data Collection command, told as the other commands tell
// theirs: what could not be done, then the error's description, number and source.
inline void ReportError(const QString& what, const db::Error& error)
{
    Dialogs::MsgBox(what + QLatin1Char(' ') + error.description() + QLatin1Char(' ') + QString::number(error.number())
            + QLatin1Char(' ') + error.source(),
        Dialogs::OKOnly, Dialogs::Critical);
}
