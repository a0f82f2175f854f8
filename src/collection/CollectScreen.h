#pragma once

#include <QWidget>

class QLabel;
class QTableWidget;
class SurveySession;

// The Data Collection screen (`picCollect`): the list of respondents. The grid's header row is
// its horizontal header (the grid's row 0); the respondents are its rows from the first on.
class CollectScreen : public QWidget {
    Q_OBJECT

public:
    CollectScreen(SurveySession& session, QWidget* parent);

    QWidget* picTitleCollect = nullptr;
    QLabel* lblInstructions = nullptr;
    QWidget* picRespondentList = nullptr;
    QTableWidget* gRespondents = nullptr;

    // False only while the example-question list is refilled from code.
    bool ExampleComboEnabled = true;

    // Refills the respondent list from the survey file and selects a row.
    void RefreshRespondentList(int SelectRow, int SelectID);

private:
    SurveySession& session_;
};
