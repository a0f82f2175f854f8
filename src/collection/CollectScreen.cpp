#include "collection/CollectScreen.h"

#include "platform/Twips.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

CollectScreen::CollectScreen(frmMain& main, QWidget* parent) : QWidget(parent), main_(main)
{
    setObjectName(QStringLiteral("picCollect"));

    picTitleCollect = new QWidget(this);
    picTitleCollect->setObjectName(QStringLiteral("picTitleCollect"));
    auto* title = new QLabel(QStringLiteral("Data Collection"), picTitleCollect);
    title->setObjectName(QStringLiteral("lblTitleCollect"));
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    Twips::Place(picTitleCollect, 0, 0, 12000, 500);
    Twips::Place(title, 150, 60, 6000, 400);

    lblInstructions = new QLabel(
        QStringLiteral("Instructions - You are currently viewing a list of Respondents, these are surveys that "
                       "have previously been completed. To add a new Respondent press the 'Add Respondent' "
                       "button. For more help press F1."),
        this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    lblInstructions->setProperty("Index", 1);
    lblInstructions->setWordWrap(true);
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
}

void CollectScreen::RefreshRespondentList(int SelectRow, int SelectID)
{
    (void)SelectRow;
    (void)SelectID;
    (void)main_;
}
