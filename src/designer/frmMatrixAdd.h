#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
namespace db {
class Connection;
}

// Makes a new answer scale from column captions typed one by one; OK writes the scale into the
// open survey file, Cancel writes nothing.
class frmMatrixAdd : public QDialog {
    Q_OBJECT

public:
    explicit frmMatrixAdd(db::Connection& SurveyConnection, QWidget* parent = nullptr);

    QLineEdit* txtName = nullptr;
    QPushButton* cmdAdd = nullptr;
    QListWidget* lstList = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdAdd_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    db::Connection& connection_;
};
