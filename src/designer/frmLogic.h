#pragma once

#include "document/clsQ.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class clsSurvey;

// The jump of one response of a radio question: the question answer entry goes to when the
// response is chosen, or "Next Question (Default)" for none. OK stores the choice into the
// response and puts it back into its question; Cancel changes nothing.
class frmLogic : public QDialog {
    Q_OBJECT

public:
    // LogicResponse is response LogicResponseIndex (1-based) of LogicQ.
    frmLogic(const clsSurvey& survey, ResponsePtr LogicResponse, int LogicResponseIndex, QPtr LogicQ,
        QWidget* parent = nullptr);

    QComboBox* cboList = nullptr;
    QLabel* lblWhen = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    const clsSurvey& survey_;
    ResponsePtr LogicResponse_;
    int LogicResponseIndex_;
    QPtr LogicQ_;
};
