#include "designer/frmMatrixAdd.h"

#include "document/MatrixScales.h"
#include "platform/Database.h"
#include "widgets/AccessibleNames.h"
#include "widgets/Dialogs.h"
#include "widgets/ReportError.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

frmMatrixAdd::frmMatrixAdd(db::Connection& SurveyConnection, QWidget* parent)
    : QDialog(parent)
    , connection_(SurveyConnection)
{
    setObjectName(QStringLiteral("frmMatrixAdd"));
    setWindowTitle(QStringLiteral("Add Matrix Responses"));
    setFixedSize(Twips::toPixelsX(4920), Twips::toPixelsY(3540));

    auto* label = new QLabel(QStringLiteral("Response text:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setProperty("Index", 0);
    Twips::place(label, 120, 120, 3300, 255);
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    Twips::place(txtName, 120, 390, 3300, 330);
    labelFor(label, txtName);
    cmdAdd = new QPushButton(QStringLiteral("&Add"), this);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->setDefault(true);
    Twips::place(cmdAdd, 3600, 360, 1200, 400);

    auto* added = new QLabel(QStringLiteral("Added responses:"), this);
    added->setObjectName(QStringLiteral("Label1"));
    added->setProperty("Index", 1);
    Twips::place(added, 120, 840, 3300, 255);
    lstList = new QListWidget(this);
    lstList->setObjectName(QStringLiteral("lstList"));
    Twips::place(lstList, 120, 1110, 3300, 2280);
    labelFor(added, lstList);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Twips::place(cmdOK, 3600, 1110, 1200, 400);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Twips::place(cmdCancel, 3600, 1590, 1200, 400);

    connect(cmdAdd, &QPushButton::clicked, this, &frmMatrixAdd::cmdAdd_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmMatrixAdd::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMatrixAdd::cmdCancel_Click);
}

void frmMatrixAdd::cmdAdd_Click()
{
    if (txtName->text().isEmpty()) {
        Dialogs::msgBox(QStringLiteral("No response text has been entered. Please enter some text to continue."),
            Dialogs::OKOnly, Dialogs::Critical);
    } else {
        lstList->addItem(txtName->text());
        txtName->clear();
    }
    txtName->setFocus();
}

void frmMatrixAdd::cmdOK_Click()
{
    if (lstList->count() == 0) {
        Dialogs::msgBox(QStringLiteral("No responses have been added. Please add some responses to continue."),
            Dialogs::OKOnly, Dialogs::Critical);
        return;
    }
    QStringList columns;
    for (int i = 0; i < lstList->count(); ++i)
        columns << lstList->item(i)->text();
    try {
        MatrixScales::add(connection_, columns);
    } catch (const db::Error& e) {
        // Nothing was written; the dialog stays open so the captions can be kept or dropped.
        reportError(QStringLiteral("Unable to add the matrix responses."), e, ErrorDetail::Number);
        return;
    }
    accept();
}

void frmMatrixAdd::cmdCancel_Click()
{
    reject();
}
