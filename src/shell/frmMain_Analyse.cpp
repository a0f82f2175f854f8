// The Analyze menu, File > Export, Page Setup and Print: forwarded to the Analyse screen and the
// printer.
#include "analysis/AnalyseScreen.h"
#include "analysis/Printing.h"
#include "document/CsvExport.h"
#include "shell/frmMain.h"

void frmMain::RefreshGraph()
{
    analyse_->RefreshGraph();
}

void frmMain::mnuAnalyseSummary_Click()
{
    mnuViewAnalyse_Click();
}

void frmMain::mnuAnalyseDetail_Click()
{
    analyse_->mnuAnalyseDetail_Click();
}

void frmMain::mnuAnalyseTotRespondents_Click()
{
    analyse_->mnuAnalyseTotRespondents_Click();
}

void frmMain::mnuFileExport_Click()
{
    analyse_->mnuFileExport_Click();
}

QString frmMain::QuoteMe(const QString& text)
{
    return CsvExport::QuoteMe(text);
}

void frmMain::mnuFilePageSetup_Click()
{
    DoPageSetup();
}

void frmMain::mnuFilePrint_Click()
{
    DoPrint();
}

void frmMain::DoPageSetup()
{
    Printing::Margins margins;
    Printing::ShowPageSetupDialog(this, margins);
}

void frmMain::DoPrint()
{
    Printing::DoPrint(this);
}
