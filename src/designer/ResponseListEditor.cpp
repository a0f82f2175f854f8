#include "designer/ResponseListEditor.h"

#include "document/SurveySession.h"
#include "widgets/AccessibleNames.h"
#include "widgets/ScreenParts.h"
#include "widgets/Twips.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>

#include <utility>

ResponseListEditor::ResponseListEditor(
    const Setup& setup, SurveySession& session, std::function<QPtr()> currentQuestion, QWidget* parent)
    : QWidget(parent)
    , session_(session)
    , currentQuestion_(std::move(currentQuestion))
{
    Twips::place(this, 0, 0, 6015, 960 + setup.listHeight);

    textLabel = makeArrayLabel(QStringLiteral("Label1"), setup.textLabelIndex, setup.textLabel, this);
    Twips::place(textLabel, 0, 0, 3000, 255);
    text = new QLineEdit(this);
    text->setObjectName(setup.textName);
    Twips::place(text, 0, 270, 4815, 330);
    add = makeCommandButton(setup.addName, QStringLiteral("Add"), this);
    Twips::place(add, 4935, 240, 1080, 390);

    listLabel = makeArrayLabel(QStringLiteral("Label1"), setup.listLabelIndex, setup.listLabel, this);
    Twips::place(listLabel, 0, 690, 3000, 255);
    list = new QListWidget(this);
    list->setObjectName(setup.listName);
    Twips::place(list, 0, 960, 4815, setup.listHeight);
    up = makePictureButton(setup.upName, styleIcon(this, QStyle::SP_ArrowUp),
        QStringLiteral("Move ") + setup.item + QStringLiteral(" up"), this);
    up->setEnabled(false);
    Twips::place(up, 4935, 960, 510, 390);
    down = makePictureButton(setup.downName, styleIcon(this, QStyle::SP_ArrowDown),
        QStringLiteral("Move ") + setup.item + QStringLiteral(" down"), this);
    down->setEnabled(false);
    Twips::place(down, 5505, 960, 510, 390);
    remove = makeCommandButton(setup.deleteName, QStringLiteral("Delete"), this);
    Twips::place(remove, 4935, 1425, 1080, 390);

    // The captions Add and Delete stand on other panels too: the names say what they act on.
    labelFor(textLabel, text);
    labelFor(listLabel, list);
    nameButton(add, QStringLiteral("Add ") + setup.item);
    nameButton(remove, QStringLiteral("Delete ") + setup.item);

    text->installEventFilter(this);
    // Enter adds the typed text while the box has the focus: Add is then the default button.
    connect(text, &QLineEdit::returnPressed, this, [this] {
        if (add->isDefault())
            add->click();
    });
    connect(add, &QPushButton::clicked, this, &ResponseListEditor::addResponse);
    connect(remove, &QPushButton::clicked, this, &ResponseListEditor::deleteResponse);
    connect(up, &QPushButton::clicked, this, &ResponseListEditor::moveUp);
    connect(down, &QPushButton::clicked, this, &ResponseListEditor::moveDown);
    connect(list, &QListWidget::currentRowChanged, this, [this] {
        if (!filling_)
            listClick();
    });
    connect(list, &QListWidget::itemClicked, this, &ResponseListEditor::listClick);
}

bool ResponseListEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == text && event->type() == QEvent::FocusIn)
        Q_EMIT textGotFocus();
    else if (watched == text && event->type() == QEvent::FocusOut)
        Q_EMIT textLostFocus();
    return QWidget::eventFilter(watched, event);
}

void ResponseListEditor::fill(const clsQ* q)
{
    const QScopedValueRollback<bool> fillingGuard(filling_, true);
    list->clear();
    for (int i = 1; q && i <= q->ResponsesCount(); ++i)
        list->addItem(q->GetResponse(i)->Text);
}

int ResponseListEditor::selectedRow() const
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

void ResponseListEditor::addResponse()
{
    const QString typed = text->text();
    const QPtr q = currentQuestion_();
    if (!typed.isEmpty() && q) {
        list->addItem(typed);
        q->AddResponse(typed, -1, -1, QString());
        session_.Survey.SetQ(q->Key, q);
    }
    text->clear();
    text->setFocus();
    session_.MarkFileChanged();
}

void ResponseListEditor::deleteResponse()
{
    const int row = selectedRow();
    const QPtr q = currentQuestion_();
    if (row < 0 || !q)
        return;
    q->RemoveResponse(row + 1);
    {
        const QScopedValueRollback<bool> fillingGuard(filling_, true);
        delete list->takeItem(row);
        list->clearSelection();
        list->setCurrentRow(-1);
    }
    session_.MarkFileChanged();
}

void ResponseListEditor::moveUp()
{
    move(-1);
}

void ResponseListEditor::moveDown()
{
    move(+1);
}

void ResponseListEditor::move(int direction)
{
    const int row = selectedRow();
    const QPtr q = currentQuestion_();
    if (row < 0 || !q)
        return;
    const int other = row + direction;
    if (other < 0 || other >= list->count())
        return;
    // The response objects change places whole, so a jump goes with its response.
    const ResponsePtr a = q->GetResponse(row + 1);
    const ResponsePtr b = q->GetResponse(other + 1);
    q->UpdateResponse(row + 1, b);
    q->UpdateResponse(other + 1, a);
    const QString moved = list->item(row)->text();
    list->item(row)->setText(list->item(other)->text());
    list->item(other)->setText(moved);
    {
        const QScopedValueRollback<bool> fillingGuard(filling_, true);
        list->setCurrentRow(other);
    }
    listClick();
    session_.MarkFileChanged();
}

void ResponseListEditor::listClick()
{
    const int row = selectedRow();
    up->setEnabled(row >= 1);
    down->setEnabled(row < list->count() - 1);
}
