#pragma once

#include <QList>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class SurveySession;

// The Analyse screen (`picAnalyse`): the summary report and the chart of the selected question.
// The summary grid's header row is its horizontal header (the grid's row 0).
class AnalyseScreen : public QWidget {
    Q_OBJECT

public:
    AnalyseScreen(SurveySession& session, QWidget* parent);

    QWidget* picTitleAnalyse = nullptr;
    QLabel* lblInstructions = nullptr;
    QWidget* picSummaryReport = nullptr;
    QTableWidget* gSummaryReport = nullptr;
    QWidget* c = nullptr;  // the chart
    QPushButton* cmdExpand = nullptr;
    QComboBox* cboGraphStyle = nullptr;

    // The summary row map: entry k (from 1) for summary grid row k.
    qint32 SummaryRowCount = 0;
    QList<int> SummaryRowMatrixResponseIDs;

    // Rebuilds the summary report from the survey file and selects a row.
    void RefreshRespondeSummaryReportList(int SelectRow, int SelectID);
    // A chart style was chosen: draws the chart of the selected summary row.
    void cboGraphStyle_Click();

private:
    SurveySession& session_;
};
