#pragma once
// Helpers of the Design screen tests: the program started in its own folder, the controls of the
// screen, and typing and clicking as a user does.

#include "Controls.h"
#include "GuiTest.h"
#include "StartProgram.h"
#include "designer/DesignScreen.h"
#include "document/SurveyFile.h"
#include "platform/Rtf.h"
#include "shell/frmMain.h"
#include "widgets/Dialogs.h"
#include "widgets/RichTextBox.h"
#include "widgets/TreeNodes.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace designertest {

inline QStringList captions(const DesignScreen* d)
{
    QStringList list;
    const QTreeWidgetItem* root = d->rootNode();
    for (int i = 0; root && i < root->childCount(); ++i)
        list << root->child(i)->text(0);
    return list;
}

inline QStringList listTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

inline QStringList responseTexts(const clsQ& q)
{
    QStringList texts;
    for (int i = 1; i <= q.ResponsesCount(); ++i)
        texts << q.GetResponse(i)->Text;
    return texts;
}

inline QStringList comboTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

inline QList<int> comboData(const QComboBox* combo)
{
    QList<int> data;
    for (int i = 0; i < combo->count(); ++i)
        data << combo->itemData(i).toInt();
    return data;
}

// Clicks a node of the tree with the mouse.
inline void clickNode(QTreeWidget* tree, QTreeWidgetItem* node)
{
    tree->scrollToItem(node);
    const QRect r = tree->visualItemRect(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
}

// Replaces the question text by typing into the editor: select all, then the keys.
inline void typeQuestion(DesignScreen* d, const QString& text)
{
    auto* txtQ = control<RichTextBox>(d, "txtQ");
    txtQ->setFocus();
    QTest::keyClick(txtQ, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(txtQ, Qt::Key_Delete);
        return;
    }
    QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(txtQ, Qt::Key_Return);
        QTest::keyClicks(txtQ, lines.at(i));
    }
}

// Types a response into a response text box and presses Enter.
inline void typeResponse(QLineEdit* box, const QString& text)
{
    box->setFocus();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

inline void selectRow(QListWidget* list, int row)
{
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

// Runs fn on the next modal dialog once it is shown; the dialog must be closed by fn.
//
// The pending timer holds the attempt; the attempt holds itself only weakly, so it is freed once
// no timer is left to run it.
inline void whenModal(std::function<void(QWidget*)> fn)
{
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [fn, self = std::weak_ptr(attempt)](int left) {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            fn(modal);
            return;
        }
        if (left > 0)
            QTimer::singleShot(10, [next = self.lock(), left] { (*next)(left - 1); });
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(300); });
}

// Runs fn once pred holds, checking between events, or after about three seconds when it never
// does (fn then closes what it would have closed, and the test's checks report the fault).
inline void whenTrue(std::function<bool()> pred, std::function<void()> fn)
{
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [pred, fn, self = std::weak_ptr(attempt)](int left) {
        if (pred() || left == 0) {
            fn();
            return;
        }
        QTimer::singleShot(10, [next = self.lock(), left] { (*next)(left - 1); });
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(300); });
}

// The program with its own folder on the Design screen; fails the test on prompts that were not
// scripted.
class Program : public TestProgram {
public:
    DesignScreen* d = nullptr;

    void start(const QString& commandLine = QString())
    {
        begin();
        TestProgram::start(commandLine);
        if (!w)
            return;
        d = w->design();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    // Opens a survey file through the main window and shows its first question.
    void open(const QString& path)
    {
        w->DoClose();
        QVERIFY(w->DoOpen(path, true, 1));
    }

    void stop()
    {
        d = nullptr;
        end();
    }

    // Fills the library tree anew from the library the program opened at start-up.
    void loadLibrary()
    {
        control<QTreeWidget>(d, "tvTreeLibrary")->clear();
        d->LoadLibrary();
    }

    clsSurvey& survey() { return w->session().Survey; }
    bool changed() const { return w->session().FileChanged(); }
    void clearChanged() { w->session().setFileChanged(false); }
    QAction* action(const char* name) const { return w->action(QString::fromLatin1(name)); }
    QTreeWidgetItem* node(int i) const { return d->rootNode()->child(i); }
    QPtr question(int i) { return survey().GetQIndex(i); }
    QPtr current() { return survey().GetQ(TreeNodes::keyOf(control<QTreeWidget>(d, "tvTreeView")->currentItem())); }

    QString writeSurvey(const QString& name, const QList<QPair<qint32, QString>>& questions)
    {
        return folder->writeSurvey(name, questions);
    }
};

} // namespace designertest
