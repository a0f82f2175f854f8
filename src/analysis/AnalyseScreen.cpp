#include "analysis/AnalyseScreen.h"

#include "platform/AccessibleNames.h"
#include "platform/Twips.h"
#include "platform/ScreenParts.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

AnalyseScreen::AnalyseScreen(SurveySession& session, QWidget* parent)
    : QWidget(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("picAnalyse"));

    picTitleAnalyse = MakeTitlePanel(
        this, QStringLiteral("picTitleAnalyse"), QStringLiteral("lblTitleAnalyse"), QStringLiteral("Analyze"));

    // The report panel takes the whole screen below the title, so the enlarged chart covers the
    // instructions and the grid.
    picSummaryReport = new QWidget(this);
    picSummaryReport->setObjectName(QStringLiteral("picSummaryReport"));
    Twips::Place(picSummaryReport, 0, 500, 12000, 8300);

    lblInstructions = MakeInstructions(picSummaryReport,
        QStringLiteral("Instructions - You are currently viewing a list of responses. To view a graph select the "
                       "response below. For more help press F1."),
        2);
    Twips::Place(lblInstructions, 150, 100, 11000, 450);

    gSummaryReport = new QTableWidget(picSummaryReport);
    gSummaryReport->setObjectName(QStringLiteral("gSummaryReport"));
    gSummaryReport->verticalHeader()->hide();
    gSummaryReport->setColumnCount(2);
    Twips::Place(gSummaryReport, 150, 600, 11500, 1750);
    NameControl(gSummaryReport, QStringLiteral("Summary report"));

    auto* styleLabel = new QLabel(QStringLiteral("Graph Style:"), picSummaryReport);
    styleLabel->setObjectName(QStringLiteral("lblGraphStyle"));
    Twips::Place(styleLabel, 150, 2430, 2850, 255);
    cboGraphStyle = new QComboBox(picSummaryReport);
    cboGraphStyle->setObjectName(QStringLiteral("cboGraphStyle"));
    cboGraphStyle->addItems({ QStringLiteral("3D Bar"), QStringLiteral("2D Bar"), QStringLiteral("3D Line"),
        QStringLiteral("2D Line"), QStringLiteral("3D Area"), QStringLiteral("2D Area"), QStringLiteral("3D Step"),
        QStringLiteral("2D Step"), QStringLiteral("3D Combination"), QStringLiteral("2D Combination"),
        QStringLiteral("Pie"), QStringLiteral("2D X-Y") });
    Twips::Place(cboGraphStyle, 150, 2700, 2850, 315);
    LabelFor(styleLabel, cboGraphStyle);

    // The chart's normal place; the layout sizes it to the window.
    c = new QWidget(picSummaryReport);
    c->setObjectName(QStringLiteral("c"));
    c->hide();
    Twips::Place(c, 3150, 2430, 8000, 3000);

    // Shown and hidden with the chart, which starts hidden.
    cmdExpand = new QPushButton(QStringLiteral("Expand Graph"), picSummaryReport);
    cmdExpand->setObjectName(QStringLiteral("cmdExpand"));
    cmdExpand->hide();
    Twips::Place(cmdExpand, 9600, 5000, 1500, 375);
}

void AnalyseScreen::RefreshRespondeSummaryReportList(int SelectRow, int SelectID)
{
    (void)SelectRow;
    (void)SelectID;
    (void)session_;
}

void AnalyseScreen::cboGraphStyle_Click()
{ }
