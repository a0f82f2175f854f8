#pragma once

#include <QWidget>

class QLabel;
class QTableWidget;
class frmMain;

// The Data Collection screen (`picCollect`): the list of respondents.
class CollectScreen : public QWidget {
    Q_OBJECT

public:
    CollectScreen(frmMain& main, QWidget* parent);

    QWidget* picTitleCollect = nullptr;
    QLabel* lblInstructions = nullptr;
    QWidget* picRespondentList = nullptr;
    QTableWidget* gRespondents = nullptr;

    // Refills the respondent list from the survey file and selects a row.
    void RefreshRespondentList(int SelectRow, int SelectID);

private:
    frmMain& main_;
};
