#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Add Survey Server": a new server entry typed in and stored under the next number of the
// server list; the wizards' server pages refill their lists after it closes.
class frmAddServer : public QDialog {
    Q_OBJECT

public:
    explicit frmAddServer(QWidget* parent = nullptr);

    QLineEdit* txtServerName = nullptr;
    QLineEdit* txtServerURL = nullptr;
    QLineEdit* txtFTPServer = nullptr;
    QLineEdit* txtFTPUsername = nullptr;
    QLineEdit* txtFTPPassword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();

private:
    QLineEdit* addField(const QString& name, const QString& caption, int row);
    // False, with the message shown and the focus in the box, when the box is empty.
    static bool filled(QLineEdit* box, const QString& message);
};
