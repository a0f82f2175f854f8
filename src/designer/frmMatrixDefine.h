#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
namespace db {
class Connection;
}

// Lists the answer scales of the open survey file; Define... adds a new one (frmMatrixAdd).
class frmMatrixDefine : public QDialog {
    Q_OBJECT

public:
    explicit frmMatrixDefine(db::Connection& SurveyConnection, QWidget* parent = nullptr);

    QLabel* lblInstructions = nullptr;
    QListWidget* lstList = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Refills the list: one entry per scale (its column names joined by "/"), the scale id as data.
    void Setup();
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    db::Connection& connection_;
};
