#include "designer/frmMatrixDefine.h"

#include "designer/frmMatrixAdd.h"
#include "document/MatrixScales.h"
#include "platform/Database.h"
#include "widgets/AccessibleNames.h"
#include "widgets/Dialogs.h"
#include "widgets/ReportError.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

frmMatrixDefine::frmMatrixDefine(db::Connection& SurveyConnection, QWidget* parent)
    : QDialog(parent)
    , connection_(SurveyConnection)
{
    setObjectName(QStringLiteral("frmMatrixDefine"));
    setWindowTitle(QStringLiteral("Define Matrix Responses"));
    setFixedSize(Twips::toPixelsX(5400), Twips::toPixelsY(3720));

    lblInstructions = new QLabel(
        QStringLiteral("Instructions - Select the matrix respose you want to edit then press Define."), this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    lblInstructions->setWordWrap(true);
    Twips::place(lblInstructions, 120, 120, 5160, 480);

    lstList = new QListWidget(this);
    lstList->setObjectName(QStringLiteral("lstList"));
    Twips::place(lstList, 120, 720, 3780, 2880);
    nameControl(lstList, QStringLiteral("Matrix responses"));

    cmdOK = new QPushButton(QStringLiteral("Define..."), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    Twips::place(cmdOK, 4080, 720, 1200, 400);
    cmdCancel = new QPushButton(QStringLiteral("&Close"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    Twips::place(cmdCancel, 4080, 1200, 1200, 400);

    connect(cmdOK, &QPushButton::clicked, this, &frmMatrixDefine::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMatrixDefine::cmdCancel_Click);

    Setup();
}

void frmMatrixDefine::Setup()
{
    lstList->clear();
    try {
        for (const MatrixScales::Scale& scale : MatrixScales::read(connection_)) {
            auto* item = new QListWidgetItem(scale.text, lstList);
            item->setData(Qt::UserRole, scale.id);
        }
    } catch (const db::Error& e) {
        reportError(QStringLiteral("Unable to read the matrix responses."), e, ErrorDetail::Number);
    }
    if (lstList->count() > 0)
        lstList->setCurrentRow(0);
}

void frmMatrixDefine::cmdOK_Click()
{
    frmMatrixAdd add(connection_, this);
    add.exec();
    Setup();
}

void frmMatrixDefine::cmdCancel_Click()
{
    reject();
}
