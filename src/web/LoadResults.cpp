#include "web/LoadResults.h"

#include "web/ResultsImport.h"
#include "widgets/Dialogs.h"
#include "widgets/LongWork.h"

#include <QFileInfo>

void loadResultsFile(QWidget* parent, db::Connection& connection, const QString& path)
{
    int count = 0;
    {
        LongWork work(parent, QStringLiteral("Importing the survey results..."), QFileInfo(path).size());
        count = ResultsImport::DoLoadXML(connection, path, work.progress());
    }
    Dialogs::msgBox(
        QStringLiteral("Successfully imported %1 respondent(s).").arg(count), Dialogs::OKOnly, Dialogs::Information);
}
