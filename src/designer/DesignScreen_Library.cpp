// The question library of the Design screen and the Edit menu.
#include "designer/DesignScreen.h"
#include "document/QuestionLibrary.h"
#include "document/SurveySession.h"
#include "platform/Database.h"
#include "platform/TextUtil.h"
#include "widgets/Dialogs.h"
#include "widgets/ReportError.h"
#include "widgets/RichTextBox.h"
#include "widgets/TreeNodes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>

void DesignScreen::LoadLibrary()
{
    QTreeWidgetItem* root
        = TreeNodes::add(tvTreeLibrary, nullptr, QStringLiteral("S_Parent"), QStringLiteral("Library"));
    root->setExpanded(true);

    for (const QuestionLibrary::Category& category : QuestionLibrary::readCategories(library_)) {
        QTreeWidgetItem* node = TreeNodes::add(
            tvTreeLibrary, root, QStringLiteral("CAT_") + QString::number(category.id), captionText(category.name));
        for (const QuestionLibrary::Question& question : category.questions)
            TreeNodes::add(
                tvTreeLibrary, node, QStringLiteral("Q_") + QString::number(question.id), captionText(question.name));
    }
}

void DesignScreen::cmdLibraryAdd_Click()
{
    const QString key = TreeNodes::keyOf(tvTreeLibrary->currentItem());
    if (!key.startsWith(QLatin1String("Q_"))) {
        Dialogs::msgBox(
            QStringLiteral("No question has been selected to add. Please select a question to add to continue."),
            Dialogs::OKOnly, Dialogs::Critical);
        return;
    }
    QString text;
    try {
        const std::optional<QString> found = QuestionLibrary::readQuestionText(library_, key.mid(2).toLongLong());
        if (!found)
            return;
        text = *found;
    } catch (const db::Error& e) {
        reportError(QStringLiteral("Unable to read the question library."), e, ErrorDetail::Number);
        return;
    }

    // A question that has text keeps it: the library text goes into a new question. So does a
    // library text taken while no question is shown, which would otherwise reach none.
    if (!txtQ->text().isEmpty() || !currentQuestion())
        mnuDesignAddOpenEndedQuestion_Click();
    txtQ->setText(text);
    txtQ_LostFocus();
    // The text is now in the survey, whichever question took it.
    session_.MarkFileChanged();
}

void DesignScreen::sendKey(int key, Qt::KeyboardModifiers modifiers)
{
    // The keystroke goes to the widget that has the focus once the menu has closed, through the
    // widget's own key handling (never through the shortcuts of the menus, which would run the
    // command again).
    QTimer::singleShot(0, this, [key, modifiers] {
        QPointer<QWidget> target = QApplication::focusWidget();
        if (!target)
            return;
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &press);
        if (!target)
            return;
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(target, &release);
    });
}

void DesignScreen::mnuEditUndo_Click()
{
    sendKey(Qt::Key_Z, Qt::ControlModifier);
}

void DesignScreen::mnuEditCut_Click()
{
    sendKey(Qt::Key_X, Qt::ControlModifier);
}

void DesignScreen::mnuEditCopy_Click()
{
    sendKey(Qt::Key_C, Qt::ControlModifier);
}

void DesignScreen::mnuEditPaste_Click()
{
    sendKey(Qt::Key_V, Qt::ControlModifier);
}

void DesignScreen::mnuEditDelete_Click()
{
    sendKey(Qt::Key_Delete, Qt::NoModifier);
}

void DesignScreen::mnuEditSelectAll_Click()
{
    sendKey(Qt::Key_A, Qt::ControlModifier);
}
