#pragma once

#include "analysis/SurveyChart.h"
#include "platform/Database.h"

#include <QList>
#include <QWidget>

#include <optional>
#include <utility>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;
class SurveySession;
struct ScreenSpace;

// The Analyse screen (`picAnalyse`): the respondent totals, the summary report and the chart of
// the selected question, and the analysis commands that write the detailed report and the CSV
// export. The summary grid's header row is its horizontal header (the grid's row 0); grid row k
// is table row k - 1.
class AnalyseScreen : public QWidget {
    Q_OBJECT

public:
    AnalyseScreen(SurveySession& session, QWidget* parent);

    // The summary row map: entry k (from 1) for summary grid row k.
    qint32 SummaryRowCount = 0;
    QList<int> SummaryRowMatrixResponseIDs;

    // Rebuilds the summary report from the survey file and selects grid row SelectRow, or the
    // row of response SelectID when it is listed; returns the row selected. While the screen is
    // hidden the rebuild waits until it is shown again. Throws db::Error.
    int RefreshRespondeSummaryReportList(int SelectRow, int SelectID);
    // The width in twips of the share column (column 0): 600, or what the widest share
    // ("100.0%" in the locale's digits and decimal separator) needs in the grid's font.
    int shareColumnWidth() const;
    // The row datum of grid row `row` (1 and up); 0 for the header row.
    qint32 rowData(int row) const;

    // Draws the chart of the selected summary row. Throws db::Error.
    void RefreshGraph();
    void gSummaryReport_Click();
    void gSummaryReport_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void cboGraphStyle_Click();
    void cmdExpand_Click();

    // The analysis commands.
    void mnuAnalyseDetail_Click();
    void mnuAnalyseTotRespondents_Click();
    void mnuFileExport_Click();

    // A failure to read the survey, as the screen's commands report it.
    static void reportReadFailure(const db::Error& error);

    // The summary grid at start-up: two columns under their headers, then column 1 widened to
    // fill the grid; and the first chart style, which draws the chart of the selected row.
    void setUpSummaryGrid();
    void widenSummaryColumn();
    void selectFirstGraphStyle();
    // Places and sizes the screen's controls by the main window's layout rules, in the space the
    // window gives the screens; the chart and its button by the chart's state.
    void layOut(const ScreenSpace& space);

    void setVisible(bool visible) override;

Q_SIGNALS:
    // The chart changed its state: the main window lays the screen out again.
    void layoutRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The screen's controls; tests reach them by their objectName.
    QWidget* picTitleAnalyse = nullptr;
    QLabel* lblInstructions = nullptr;
    QWidget* picSummaryReport = nullptr;
    QTableWidget* gSummaryReport = nullptr;
    SurveyChart* c = nullptr; // the chart
    QPushButton* cmdExpand = nullptr;
    QComboBox* cboGraphStyle = nullptr;
    QGroupBox* fraTotals = nullptr;
    QLabel* lblTotalRespondents = nullptr;
    QLabel* lblTotalManualEntry = nullptr;
    QLabel* lblTotalWebBased = nullptr;
    QLabel* lblTotalImported = nullptr;

    void createTotals();
    void refreshPending();
    void drawChart();
    void reportWriteFailure(const QString& fileName, const db::Error& error) const;

    SurveySession& session_;
    // The refresh asked for while the screen was hidden: its SelectRow and SelectID.
    std::optional<std::pair<int, int>> pendingRefresh_;
};
