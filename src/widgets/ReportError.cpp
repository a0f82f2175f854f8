#include "widgets/ReportError.h"

#include "widgets/Dialogs.h"

namespace {
QString separator(ErrorDetail detail)
{
    return detail == ErrorDetail::Sentences ? QStringLiteral(". ") : QStringLiteral(" ");
}
} // namespace

QString ErrorDetails(const db::Error& error, ErrorDetail detail)
{
    QString text = error.description();
    if (detail == ErrorDetail::Description)
        return text;
    text += separator(detail) + QString::number(error.number());
    if (detail == ErrorDetail::NumberAndSource)
        text += separator(detail) + error.source();
    return text;
}

QString FailureText(const QString& what, const db::Error& error, ErrorDetail detail)
{
    return what + separator(detail) + ErrorDetails(error, detail);
}

void ReportError(const QString& what, const db::Error& error, ErrorDetail detail)
{
    Dialogs::MsgBox(FailureText(what, error, detail), Dialogs::OKOnly, Dialogs::Critical);
}
