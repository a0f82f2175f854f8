#pragma once

#include "collection/RespondentRows.h"

#include <QWidget>

class FlexGrid;
class QComboBox;
class QLabel;
class QPushButton;
class SurveySession;
struct ScreenSpace;

// The Data Collection screen (`picCollect`): the respondents of the open survey, newest first, with
// their answer to an example question and their source; adding, viewing or changing and deleting
// a respondent; and the paper questionnaire. Nothing here marks the survey changed.
class CollectScreen : public QWidget {
    Q_OBJECT

public:
    CollectScreen(SurveySession& session, QWidget* parent);

    // False only while the example-question list is refilled from code.
    bool ExampleComboEnabled = true;
    // The respondent whose answers the answer-entry dialog shows.
    qint32 CurrentRespondentID = 0;

    // Refills the respondent list from the survey file and selects row SelectRow (1 is the newest
    // respondent), or the row of respondent SelectID when it is listed; a row past the end selects
    // the last. While the screen is not on view the refill waits until it is shown next.
    void RefreshRespondentList(int SelectRow, int SelectID);

    void cboDCExampleQuestion_Click();
    void cmdCreateResponse_Click();
    void cmdEditResponse_Click();
    void gRespondents_DblClick();
    void cmdDeleteResponse_Click();
    // Data Collection > Create Paper Based Survey...: writes the questionnaire as RTF.
    void mnuDataCollectionPaperSurvey_Click();

    // The respondent grid at start-up: three columns and the header row, then the header texts
    // and widths, then column 1 widened to fill the grid.
    void setUpRespondentGrid();
    void setRespondentHeaders();
    void widenRespondentColumn();
    // Shows or hides the respondent list (the screen shows the list, or a respondent's answers).
    void showRespondentList(bool shown);
    // Places and sizes the screen's controls by the main window's layout rules, in the space the
    // window gives the screens.
    void layOut(const ScreenSpace& space);

Q_SIGNALS:
    // The screen wants the main window to show one of its screens ("Respondent").
    void showScreenRequested(const QString& sTag);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The screen's controls; tests reach them by their objectName.
    QWidget* picTitleCollect = nullptr;
    QLabel* lblInstructions = nullptr;
    QWidget* picRespondentList = nullptr;
    QWidget* picCustBot = nullptr;
    QPushButton* cmdCreateResponse = nullptr;
    QPushButton* cmdEditResponse = nullptr;
    QPushButton* cmdDeleteResponse = nullptr;
    QComboBox* cboDCExampleQuestion = nullptr;
    // Row 0 is the header; row r from 1 on is a respondent, its row data the respondent's id.
    FlexGrid* gRespondents = nullptr;

    void refill(int SelectRow, int SelectID);
    // After a command changed one respondent: its row alone is read again while the list is
    // otherwise the file's, else the list is refilled; then the row is selected as a refill does.
    void refreshRespondent(qint32 id, int SelectRow, int SelectID);
    void selectRow(int SelectRow, int SelectID);
    void fillExampleList();
    void showAnswerEntry();
    bool noRespondentSelected();

    SurveySession& session_;
    // What gRespondents shows below its header.
    RespondentRows rows_;
    // A refill asked for while the screen was not on view, done when it is shown.
    bool refillPending_ = false;
    int pendingRow_ = 1;
    int pendingId_ = 0;
    // The refill just done on showing, which the caller that showed the screen need not repeat.
    bool refilledOnShow_ = false;
};
