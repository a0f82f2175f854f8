#pragma once

#include "document/RespondentAnswers.h"

#include <QDialog>
#include <QList>

#include <optional>

class FlexGrid;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace db {
class Connection;
}

// Answer entry: the answers of one respondent, one question per page in survey order, following
// the jumps of radio answers. The questions are read from the survey file, so the respondent
// answers the survey as last saved. Leaving a page with Next or Previous replaces the respondent's
// stored answers to that question by the answers on screen (a page left as it was shown writes
// nothing, so viewing a respondent changes no answer); Cancel stores nothing more.
class frmManualResponse : public QDialog {
    Q_OBJECT

public:
    frmManualResponse(db::Connection& connection, qint32 respondentId, QWidget* parent = nullptr);
    ~frmManualResponse() override;

    QLabel* lblInstructions = nullptr;
    QWidget* picDCAnswers = nullptr;
    // The question's number and its whole text, word-wrapped, read-only; a text that needs more
    // room than it has scrolls.
    QPlainTextEdit* lblDCQuestion = nullptr;
    QWidget* picDCResponseSimple = nullptr;
    QPlainTextEdit* txtDCSimpleResponse = nullptr;
    QScrollArea* picDCResponseCheck = nullptr;
    QList<QCheckBox*> chkDCCheck; // element 0 always exists
    QScrollArea* picDCResponseRadio = nullptr;
    QList<QRadioButton*> optDCRadio; // element 0 always exists
    QWidget* picDCResponseMatrix = nullptr;
    FlexGrid* gMatrix = nullptr;
    QWidget* picDCFooter = nullptr;
    QPushButton* cmdDCAnswersPrevious = nullptr;
    QPushButton* cmdDCAnswersNext = nullptr;
    QPushButton* cmdDCAnswersCancel = nullptr;

    // The respondent whose answers are shown and stored.
    const qint32 CurrentRespondentID;
    // The question.pos of the page on screen.
    int CurrentQuestionPos = 1;
    // The qtype of the page on screen.
    int CurrentQType = -1;
    // The question id that the chosen radio answer of the page jumps to; -1 for none.
    int JumpToQuestionID = -1;

    // Builds the page of the question at CurrentQuestionPos; false when no question has that
    // position (the end of the survey), and then the screen is left as it was.
    bool RespondentAnswers_ShowQuestion();
    // Stores the page on screen, in one transaction, unless it is as it was shown, and sets
    // JumpToQuestionID either way. False when the answers could not be stored (the failure is
    // reported and nothing is changed).
    bool ShowDCAnswer();

    void cmdDCAnswersNext_Click();
    void cmdDCAnswersPrevious_Click();
    void cmdDCAnswersCancel_Click();
    void gMatrix_Click();
    void gMatrix_KeyDown(QKeyEvent* event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void showPanel(QWidget* panel);
    void showOpenEnded(const RespondentAnswers::Page& page);
    void showCheck(const RespondentAnswers::Page& page);
    void showRadio(const RespondentAnswers::Page& page);
    void showMatrix(const RespondentAnswers::Page& page);
    template <typename Button> void clearButtons(QList<Button*>& buttons);
    template <typename Button> Button* addButton(QList<Button*>& buttons, QScrollArea* area, const QString& name);
    // Gives each response of the page a button of the array, captioned and tagged with its id.
    template <typename Button>
    void fillButtons(QList<Button*>& buttons, QScrollArea* area, const QString& name,
        const QList<RespondentAnswers::Choice>& responses, const QList<bool>& chosen);
    void chooseMatrixCell();
    // Gives the keyboard focus to the page's answers (or to Next on a page without any).
    void focusPage();
    void showQuestionText(const QString& prefix, const QString& stored);
    // The answers on screen of the page shown.
    RespondentAnswers::Answers pageAnswers(const RespondentAnswers::Page& page) const;
    // The open answer as typed, its lines ending in CR LF.
    QString typedAnswer() const;

    db::Connection& connection_;
    // The page on screen with the answers it was shown with; none while the page on screen could
    // not be built whole: such a page is never stored.
    std::optional<RespondentAnswers::Page> page_;
    // The open answer as the text box shows it when the page is shown: left so, the stored text is
    // stored again exactly.
    QString shownAnswer_;
};
