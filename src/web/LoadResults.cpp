#include "web/LoadResults.h"

#include "platform/Dialogs.h"
#include "web/ResultsImport.h"

#include <QProgressDialog>

void LoadResultsFile(QWidget* parent, db::Connection& connection, const QString& path)
{
    constexpr int kSteps = 1000;
    QProgressDialog progress(
        QStringLiteral("Importing the survey results..."), QStringLiteral("Cancel"), 0, kSteps, parent);
    progress.setObjectName(QStringLiteral("ImportProgress"));
    progress.setWindowTitle(Dialogs::AppTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const int count = ResultsImport::DoLoadXML(connection, path, [&progress](qint64 done, qint64 total) {
        // The dialog lets pending window messages through as its value changes.
        progress.setValue(total > 0 ? int(done * kSteps / total) : kSteps);
        return !progress.wasCanceled();
    });
    progress.close();
    Dialogs::MsgBox(
        QStringLiteral("Successfully imported %1 respondent(s).").arg(count), Dialogs::OKOnly, Dialogs::Information);
}
