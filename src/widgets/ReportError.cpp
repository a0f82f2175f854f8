#include "widgets/ReportError.h"

#include "widgets/Dialogs.h"

namespace {
QString separator(ErrorDetail detail)
{
    return detail == ErrorDetail::Sentences ? QStringLiteral(". ") : QStringLiteral(" ");
}
} // namespace

QString errorDetails(const db::Error& error, ErrorDetail detail)
{
    QString text = error.description();
    if (detail == ErrorDetail::Description)
        return text;
    text += separator(detail) + QString::number(error.number());
    if (detail == ErrorDetail::NumberAndSource)
        text += separator(detail) + error.source();
    return text;
}

QString failureText(const QString& what, const db::Error& error, ErrorDetail detail)
{
    return what + separator(detail) + errorDetails(error, detail);
}

void reportError(const QString& what, const db::Error& error, ErrorDetail detail)
{
    Dialogs::msgBox(failureText(what, error, detail), Dialogs::OKOnly, Dialogs::Critical);
}
