#include "shell/frmMain.h"

#include "web/ExchangeFile.h"
#include "web/LoadResults.h"

void frmMain::DoSaveXML()
{
    ExchangeFile::DoSaveXML(session_.Survey, session_.SurveyConnection, ExchangeFile::DefaultPath());
}

void frmMain::DoLoadXML(const QString& sFilename)
{
    LoadResultsFile(this, session_.SurveyConnection, sFilename);
}
