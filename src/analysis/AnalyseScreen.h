#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class frmMain;

// The Analyse screen (`picAnalyse`): the summary report and the chart of the selected question.
class AnalyseScreen : public QWidget {
    Q_OBJECT

public:
    AnalyseScreen(frmMain& main, QWidget* parent);

    QWidget* picTitleAnalyse = nullptr;
    QLabel* lblInstructions = nullptr;
    QWidget* picSummaryReport = nullptr;
    QTableWidget* gSummaryReport = nullptr;
    QWidget* c = nullptr;  // the chart
    QPushButton* cmdExpand = nullptr;
    QComboBox* cboGraphStyle = nullptr;

    // Rebuilds the summary report from the survey file and selects a row.
    void RefreshRespondeSummaryReportList(int SelectRow, int SelectID);

private:
    frmMain& main_;
};
