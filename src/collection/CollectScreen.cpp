#include "collection/CollectScreen.h"

#include "platform/AccessibleNames.h"
#include "platform/Twips.h"
#include "platform/ScreenParts.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

CollectScreen::CollectScreen(SurveySession& session, QWidget* parent)
    : QWidget(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("picCollect"));

    picTitleCollect = MakeTitlePanel(
        this, QStringLiteral("picTitleCollect"), QStringLiteral("lblTitleCollect"), QStringLiteral("Data Collection"));

    lblInstructions = MakeInstructions(this,
        QStringLiteral("Instructions - You are currently viewing a list of Respondents, these are surveys that "
                       "have previously been completed. To add a new Respondent press the 'Add Respondent' "
                       "button. For more help press F1."),
        1);
    Twips::Place(lblInstructions, 150, 600, 11000, 500);

    // The list sits below the instructions; the room above the grid is for its buttons and the
    // example-question list.
    picRespondentList = new QWidget(this);
    picRespondentList->setObjectName(QStringLiteral("picRespondentList"));
    Twips::Place(picRespondentList, 0, 1310, 12000, 7000);

    gRespondents = new QTableWidget(picRespondentList);
    gRespondents->setObjectName(QStringLiteral("gRespondents"));
    gRespondents->verticalHeader()->hide();
    gRespondents->setColumnCount(3);
    Twips::Place(gRespondents, 150, 500, 11500, 6000);
    NameControl(gRespondents, QStringLiteral("Respondents"));
}

void CollectScreen::RefreshRespondentList(int SelectRow, int SelectID)
{
    (void)SelectRow;
    (void)SelectID;
    (void)session_;
}
