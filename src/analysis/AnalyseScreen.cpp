#include "analysis/AnalyseScreen.h"

#include "platform/Twips.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

AnalyseScreen::AnalyseScreen(frmMain& main, QWidget* parent) : QWidget(parent), main_(main)
{
    setObjectName(QStringLiteral("picAnalyse"));

    picTitleAnalyse = new QWidget(this);
    picTitleAnalyse->setObjectName(QStringLiteral("picTitleAnalyse"));
    auto* title = new QLabel(QStringLiteral("Analyze"), picTitleAnalyse);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    Twips::Place(picTitleAnalyse, 0, 0, 12000, 500);
    Twips::Place(title, 150, 60, 6000, 400);

    lblInstructions = new QLabel(
        QStringLiteral("Instructions - You are currently viewing a list of responses. To view a graph select the "
                       "response below. For more help press F1."),
        this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    lblInstructions->setProperty("Index", 2);
    lblInstructions->setWordWrap(true);
    Twips::Place(lblInstructions, 150, 600, 11000, 500);

    picSummaryReport = new QWidget(this);
    picSummaryReport->setObjectName(QStringLiteral("picSummaryReport"));
    Twips::Place(picSummaryReport, 0, 1200, 12000, 7000);

    gSummaryReport = new QTableWidget(picSummaryReport);
    gSummaryReport->setObjectName(QStringLiteral("gSummaryReport"));
    gSummaryReport->verticalHeader()->hide();
    Twips::Place(gSummaryReport, 150, 0, 11500, 3500);

    c = new QWidget(picSummaryReport);
    c->setObjectName(QStringLiteral("c"));
    c->hide();
    Twips::Place(c, 150, 3600, 8000, 3000);

    cboGraphStyle = new QComboBox(picSummaryReport);
    cboGraphStyle->setObjectName(QStringLiteral("cboGraphStyle"));
    Twips::Place(cboGraphStyle, 8400, 3600, 2500, 315);

    cmdExpand = new QPushButton(QStringLiteral("Expand Graph"), picSummaryReport);
    cmdExpand->setObjectName(QStringLiteral("cmdExpand"));
    Twips::Place(cmdExpand, 8400, 4000, 1500, 375);
}

void AnalyseScreen::RefreshRespondeSummaryReportList(int SelectRow, int SelectID)
{
    (void)SelectRow;
    (void)SelectID;
    (void)main_;
}
