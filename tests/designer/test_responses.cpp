// The response lists, the answer-scale list, the jump-logic dialog and the answer-scale dialogs.
#include "DesignerTest.h"
#include "designer/SelectComboByItemData.h"
#include "designer/frmLogic.h"
#include "designer/frmMatrixAdd.h"
#include "designer/frmMatrixDefine.h"
#include "document/MatrixScales.h"

#include <QLabel>

using namespace designertest;

namespace {

int count(db::Connection& c, const QString& sql)
{
    db::Recordset rs = c.openRecordset(sql);
    return rs.field(0).toInt();
}

QStringList listTexts(const QListWidget* list, int role)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->data(role).toString();
    return texts;
}

} // namespace

class ResponsesTest : public QObject {
    Q_OBJECT

    Program p;

    db::Connection& file() { return p.w->session().SurveyConnection; }

    // The scales of the open file replaced: 1 (reserved), 2 Yes/No, 3 Poor/Fair/Good, 4 without columns.
    void replaceScales()
    {
        file().execute(QStringLiteral("DELETE FROM responsematrix"));
        file().execute(QStringLiteral("DELETE FROM responsematrixgroup"));
        file().execute(QStringLiteral("INSERT INTO responsematrixgroup (id, name) VALUES (1, 'Default'), (2, 'a'), "
                                      "(3, 'b'), (4, 'empty')"));
        file().execute(QStringLiteral("INSERT INTO responsematrix (name, responsematrixgroupid, pos) VALUES "
                                      "('Hidden', 1, 0), ('No', 2, 1), ('Yes', 2, 0), ('Poor', 3, 0), ('Fair', 3, 1), "
                                      "('Good', 3, 2)"));
    }

    void addResponses(QLineEdit* box, const QStringList& texts)
    {
        for (const QString& t : texts)
            typeResponse(box, t);
    }

private Q_SLOTS:
    void init() { p.start(); }
    void cleanup() { p.stop(); }

    void responseListAddDeleteUpDownWithJumps()
    {
        p.action("mnuDesignAddRadioQuestion")->trigger();
        auto* cmdCheckUp = control<QPushButton>(p.d, "cmdCheckUp");
        QVERIFY(!cmdCheckUp->isEnabled());
        auto* cmdCheckDown = control<QPushButton>(p.d, "cmdCheckDown");
        QVERIFY(!cmdCheckDown->isEnabled());
        addResponses(control<QLineEdit>(p.d, "txtCheckResponse"), { "A", "B", "C" });
        const QPtr q = p.current();
        q->GetResponse(2)->LogicJumpToQuestionKey = p.question(1)->Key;

        auto* lstCheckResponses = control<QListWidget>(p.d, "lstCheckResponses");
        selectRow(lstCheckResponses, 1);
        QVERIFY(cmdCheckUp->isEnabled());
        QVERIFY(cmdCheckDown->isEnabled());
        p.clearChanged();
        cmdCheckDown->click();
        QCOMPARE(listTexts(lstCheckResponses), (QStringList { "A", "C", "B" }));
        QCOMPARE(responseTexts(*q), (QStringList { "A", "C", "B" }));
        QCOMPARE(lstCheckResponses->currentRow(), 2);
        QCOMPARE(q->GetResponse(3)->LogicJumpToQuestionKey, p.question(1)->Key);
        QCOMPARE(q->GetResponse(2)->LogicJumpToQuestionKey, QString());
        QVERIFY(p.changed());
        // B is last now: it can go up but not down.
        QVERIFY(cmdCheckUp->isEnabled());
        QVERIFY(!cmdCheckDown->isEnabled());

        cmdCheckUp->click();
        cmdCheckUp->click();
        QCOMPARE(responseTexts(*q), (QStringList { "B", "A", "C" }));
        QCOMPARE(q->GetResponse(1)->LogicJumpToQuestionKey, p.question(1)->Key);
        p.clearChanged();
        cmdCheckUp->click(); // first already
        QCOMPARE(responseTexts(*q), (QStringList { "B", "A", "C" }));
        QVERIFY(!p.changed());

        // Deleting B takes its jump with it and leaves no entry selected.
        control<QPushButton>(p.d, "cdmCheckDelete")->click();
        QCOMPARE(listTexts(lstCheckResponses), (QStringList { "A", "C" }));
        QCOMPARE(responseTexts(*q), (QStringList { "A", "C" }));
        QVERIFY(p.changed());
        for (int i = 1; i <= q->ResponsesCount(); ++i)
            QCOMPARE(q->GetResponse(i)->LogicJumpToQuestionKey, QString());
        p.clearChanged();
        control<QPushButton>(p.d, "cdmCheckDelete")->click();
        cmdCheckDown->click();
        QCOMPARE(responseTexts(*q), (QStringList { "A", "C" }));
        QVERIFY(!p.changed());

        // Add with an empty box adds nothing and still marks.
        control<QPushButton>(p.d, "cmdCheckAdd")->click();
        QCOMPARE(q->ResponsesCount(), 2);
        QVERIFY(p.changed());
    }

    void matrixRowsMoveAndDeleteTogether()
    {
        p.action("mnuDesignAddMatrixQuestion")->trigger();
        addResponses(control<QLineEdit>(p.d, "txtMatrixResponse"), { "A", "B", "C" });
        auto* lstMatrixResponses = control<QListWidget>(p.d, "lstMatrixResponses");
        selectRow(lstMatrixResponses, 2);
        QVERIFY(!control<QPushButton>(p.d, "cmdMatrixDown")->isEnabled());
        control<QPushButton>(p.d, "cmdMatrixUp")->click();
        QCOMPARE(listTexts(lstMatrixResponses), (QStringList { "A", "C", "B" }));
        QCOMPARE(responseTexts(*p.current()), (QStringList { "A", "C", "B" }));
        selectRow(lstMatrixResponses, 1);
        control<QPushButton>(p.d, "cmdMatrixDelete")->click();
        QCOMPARE(listTexts(lstMatrixResponses), (QStringList { "A", "B" }));
        QCOMPARE(responseTexts(*p.current()), (QStringList { "A", "B" }));

        // The rows come back when the question is shown again.
        p.d->selectNode(p.node(0));
        p.d->selectNode(p.node(1));
        QCOMPARE(listTexts(lstMatrixResponses), (QStringList { "A", "B" }));
    }

    void scaleListTextsIdsAndSelection()
    {
        replaceScales();
        p.d->LoadMatrixResponses();
        auto* cmbMatrixResponses = control<QComboBox>(p.d, "cmbMatrixResponses");
        QCOMPARE(comboTexts(cmbMatrixResponses), (QStringList { "Yes/No", "Poor/Fair/Good", "" }));
        QCOMPARE(comboData(cmbMatrixResponses), (QList<int> { 2, 3, 4 }));
        QCOMPARE(cmbMatrixResponses->currentIndex(), 0);

        // A matrix question shows its own scale; one whose scale is not listed keeps its scale.
        p.action("mnuDesignAddMatrixQuestion")->trigger();
        p.current()->ResponseMatrixGroupID = 4;
        p.d->selectNode(p.node(0));
        p.d->selectNode(p.node(1));
        QCOMPARE(cmbMatrixResponses->currentData().toInt(), 4);
        p.current()->ResponseMatrixGroupID = 1;
        p.d->selectNode(p.node(1));
        QCOMPARE(p.current()->ResponseMatrixGroupID, 1);
        QCOMPARE(cmbMatrixResponses->currentData().toInt(), 4);

        // Choosing an entry gives the question its scale; a new scale joins the end and the
        // selected entry stays selected.
        cmbMatrixResponses->setCurrentIndex(1);
        QCOMPARE(p.current()->ResponseMatrixGroupID, 3);
        const int added = MatrixScales::add(file(), { "Low", "High" });
        p.d->LoadMatrixResponses();
        QCOMPARE(comboTexts(cmbMatrixResponses), (QStringList { "Yes/No", "Poor/Fair/Good", "", "Low/High" }));
        QCOMPARE(cmbMatrixResponses->itemData(3).toInt(), added);
        QCOMPARE(cmbMatrixResponses->currentIndex(), 1);
        QCOMPARE(p.current()->ResponseMatrixGroupID, 3);

        // A failing query leaves the list as it was and is thrown to the caller.
        file().execute(QStringLiteral("ALTER TABLE responsematrix RENAME TO gone"));
        QVERIFY_THROWS_EXCEPTION(db::Error, p.d->LoadMatrixResponses());
        QCOMPARE(cmbMatrixResponses->count(), 4);
    }

    void selectComboByItemData()
    {
        QComboBox combo;
        SelectComboByItemData(&combo, QStringLiteral("1")); // empty: nothing happens
        for (int id : { 2, 3, 5, 3 })
            combo.addItem(QString::number(id), id);
        combo.setCurrentIndex(0);
        const struct {
            const char* number;
            int index;
        } cases[] = { { "3", 1 }, { "5", 2 }, { "7", 2 }, { " 2 ", 0 }, { "3.0", 1 }, { "abc", 1 }, { "", 1 } };
        for (const auto& c : cases) {
            SelectComboByItemData(&combo, QString::fromLatin1(c.number));
            QVERIFY2(combo.currentIndex() == c.index, c.number);
        }
    }

    void logicDialogListsEveryQuestionAndStoresTheChoice()
    {
        typeQuestion(p.d, QStringLiteral("Age"));
        p.action("mnuDesignAddText")->trigger();
        typeQuestion(p.d, QStringLiteral("Thank you"));
        p.action("mnuDesignAddRadioQuestion")->trigger();
        typeQuestion(p.d, QStringLiteral("Gender"));
        addResponses(control<QLineEdit>(p.d, "txtCheckResponse"), { "Yes", "No" });
        const QPtr q = p.current();
        const ResponsePtr yes = q->GetResponse(1);

        {
            frmLogic dialog(p.survey(), yes, 1, q);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Logic"));
            QCOMPARE(comboTexts(dialog.cboList),
                (QStringList { "Next Question (Default)", "1. Age", "Thank you", "2. Gender" }));
            QCOMPARE(comboData(dialog.cboList), (QList<int> { -1, 1, 2, 3 }));
            QCOMPARE(dialog.cboList->currentIndex(), 0);
            QCOMPARE(dialog.lblWhen->text(), QStringLiteral("When response Yes is selected:"));
            QCOMPARE(dialog.lblWhen->textFormat(), Qt::PlainText); // a response "<b>Yes</b>" shows as typed
            QVERIFY(dialog.cmdOK->isDefault());
            dialog.cboList->setCurrentIndex(2);
            dialog.cmdOK->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(yes->LogicJumpToQuestionKey, p.question(2)->Key);
        QCOMPARE(yes->LogicJumpToQuestionID, -1);

        {
            // Opens on the jump set; Cancel keeps it.
            frmLogic dialog(p.survey(), yes, 1, q);
            QCOMPARE(dialog.cboList->currentIndex(), 2);
            dialog.cboList->setCurrentIndex(3);
            dialog.cmdCancel->click();
        }
        QCOMPARE(yes->LogicJumpToQuestionKey, p.question(2)->Key);

        {
            // A jump to a question that is gone opens on the default, and OK removes it.
            yes->LogicJumpToQuestionKey = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");
            yes->LogicJumpToQuestionID = 17;
            frmLogic dialog(p.survey(), yes, 1, q);
            QCOMPARE(dialog.cboList->currentIndex(), 0);
            dialog.cmdOK->click();
        }
        QCOMPARE(yes->LogicJumpToQuestionKey, QString());
        QCOMPARE(yes->LogicJumpToQuestionID, -1);
    }

    void logicButtonOpensTheDialogForTheSelectedResponse()
    {
        p.action("mnuDesignAddRadioQuestion")->trigger();
        addResponses(control<QLineEdit>(p.d, "txtCheckResponse"), { "Yes", "No" });
        p.clearChanged();
        Dialogs::Script::answer(Dialogs::OK);
        auto* cmdRadioLogic = control<QPushButton>(p.d, "cmdRadioLogic");
        cmdRadioLogic->click();
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("Please select a response to apply logic to."));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QVERIFY(!p.changed());

        auto* lstCheckResponses = control<QListWidget>(p.d, "lstCheckResponses");
        selectRow(lstCheckResponses, 1);
        QString label;
        whenModal([&label](QWidget* modal) {
            label = modal->findChild<QLabel*>(QStringLiteral("lblWhen"))->text();
            modal->findChild<QComboBox*>(QStringLiteral("cboList"))->setCurrentIndex(1);
            QTest::keyClick(modal, Qt::Key_Return); // OK is the default button
        });
        cmdRadioLogic->click();
        QCOMPARE(label, QStringLiteral("When response No is selected:"));
        QCOMPARE(p.current()->GetResponse(2)->LogicJumpToQuestionKey, p.question(1)->Key);
        QCOMPARE(p.d->LogicResponseIndex, 2);
        QCOMPARE(p.d->LogicQ, p.current());
        QVERIFY(p.changed());

        // A list entry without a response behind it is refused.
        lstCheckResponses->addItem(QStringLiteral("stray"));
        lstCheckResponses->setCurrentRow(2);
        Dialogs::Script::answer(Dialogs::OK);
        cmdRadioLogic->click();
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("Unable to set logic for this response."));
    }

    void scaleAddDialogWritesOneScale()
    {
        const int before = count(file(), QStringLiteral("SELECT COUNT(*) FROM responsematrixgroup"));
        frmMatrixAdd dialog(file());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Matrix Responses"));

        // Add with an empty box says so and adds nothing.
        Dialogs::Script::answer(Dialogs::OK);
        dialog.cmdAdd->click();
        QCOMPARE(Dialogs::Script::lastText(),
            QStringLiteral("No response text has been entered. Please enter some text to continue."));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QCOMPARE(dialog.lstList->count(), 0);
        // OK with no captions says so and stays open.
        Dialogs::Script::answer(Dialogs::OK);
        dialog.cmdOK->click();
        QCOMPARE(Dialogs::Script::lastText(),
            QStringLiteral("No responses have been added. Please add some responses to continue."));
        QVERIFY(dialog.isVisible());

        // Enter in the text box adds the caption as typed.
        for (const char* caption : { "Poor", "Fair ", "Good" }) {
            QTest::keyClicks(dialog.txtName, QString::fromLatin1(caption));
            QTest::keyClick(dialog.txtName, Qt::Key_Return);
            QVERIFY(dialog.txtName->hasFocus());
        }
        QCOMPARE(listTexts(dialog.lstList, Qt::DisplayRole), (QStringList { "Poor", "Fair ", "Good" }));
        dialog.cmdOK->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        QCOMPARE(count(file(), QStringLiteral("SELECT COUNT(*) FROM responsematrixgroup")), before + 1);
        db::Recordset rs = file().openRecordset(
            QStringLiteral("SELECT g.name, m.name, m.pos FROM responsematrixgroup g JOIN responsematrix m "
                           "ON m.responsematrixgroupid = g.id WHERE g.id = (SELECT MAX(id) FROM responsematrixgroup) "
                           "ORDER BY m.pos"));
        QStringList rows;
        for (; !rs.atEnd(); rs.moveNext())
            rows << rs.field(0).toString() + QLatin1Char(':') + rs.field(1).toString() + QLatin1Char(':')
                    + rs.field(2).toString();
        QCOMPARE(rows, (QStringList { "User Added:Poor:0", "User Added:Fair :1", "User Added:Good:2" }));
    }

    void scaleAddCancelAndFailureWriteNothing()
    {
        const QString groups = QStringLiteral("SELECT COUNT(*) FROM responsematrixgroup");
        const int before = count(file(), groups);
        {
            frmMatrixAdd dialog(file());
            dialog.txtName->setText(QStringLiteral("Low"));
            dialog.cmdAdd->click();
            dialog.cmdCancel->click();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QCOMPARE(count(file(), groups), before);

        // The columns cannot be written: the scale row is not kept either, and the program goes on.
        file().execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON responsematrix "
                                      "BEGIN SELECT RAISE(ABORT, 'disk says no'); END"));
        frmMatrixAdd dialog(file());
        dialog.show();
        dialog.txtName->setText(QStringLiteral("Low"));
        dialog.cmdAdd->click();
        Dialogs::Script::answer(Dialogs::OK);
        dialog.cmdOK->click();
        QVERIFY(Dialogs::Script::lastText().startsWith(QStringLiteral("Unable to add the matrix responses. ")));
        QVERIFY(Dialogs::Script::lastText().contains(QStringLiteral("disk says no")));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QCOMPARE(count(file(), groups), before);
        QVERIFY(dialog.isVisible());
    }

    void scaleDefineDialogListsScalesButTheReservedOne()
    {
        replaceScales();
        frmMatrixDefine dialog(file());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Define Matrix Responses"));
        QCOMPARE(dialog.lblInstructions->text(),
            QStringLiteral("Instructions - Select the matrix respose you want to edit then press Define."));
        QCOMPARE(dialog.cmdOK->text(), QStringLiteral("Define..."));
        QCOMPARE(dialog.cmdCancel->text(), QStringLiteral("&Close"));
        QCOMPARE(listTexts(dialog.lstList, Qt::DisplayRole), (QStringList { "Yes/No", "Poor/Fair/Good", "" }));
        QCOMPARE(listTexts(dialog.lstList, Qt::UserRole), (QStringList { "2", "3", "4" }));
        QCOMPARE(dialog.lstList->currentRow(), 0);

        // Two scales of the same captions are two scales.
        const int a = MatrixScales::add(file(), { "Yes", "No" });
        const int b = MatrixScales::add(file(), { "Yes", "No" });
        QVERIFY(a != b);
        dialog.Setup();
        QCOMPARE(listTexts(dialog.lstList, Qt::DisplayRole),
            (QStringList { "Yes/No", "Poor/Fair/Good", "", "Yes/No", "Yes/No" }));
    }

    void defineButtonAddsAScaleAndRefillsTheList()
    {
        p.action("mnuDesignAddMatrixQuestion")->trigger();
        auto* cmbMatrixResponses = control<QComboBox>(p.d, "cmbMatrixResponses");
        const int entries = cmbMatrixResponses->count();
        cmbMatrixResponses->setCurrentIndex(2);
        p.clearChanged();
        whenModal([](QWidget* define) {
            whenModal([](QWidget* add) {
                auto* name = add->findChild<QLineEdit*>(QStringLiteral("txtName"));
                for (const char* caption : { "Bad", "Good" }) {
                    QTest::keyClicks(name, QString::fromLatin1(caption));
                    QTest::keyClick(name, Qt::Key_Return);
                }
                add->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            });
            // Once frmMatrixAdd has closed and the list shows the new scale, this dialog is closed.
            auto* list = define->findChild<QListWidget*>(QStringLiteral("lstList"));
            whenTrue(
                [define, list] {
                    return QApplication::activeModalWidget() == define && list->count() > 0
                        && list->item(list->count() - 1)->text() == QLatin1String("Bad/Good");
                },
                [define] { define->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click(); });
            define->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        control<QPushButton>(p.d, "cmdMatrixDefine")->click();
        QCOMPARE(cmbMatrixResponses->count(), entries + 1);
        QCOMPARE(cmbMatrixResponses->itemText(entries), QStringLiteral("Bad/Good"));
        QCOMPARE(cmbMatrixResponses->currentIndex(), 2);
        QVERIFY(!p.changed());
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<ResponsesTest>(argc, argv);
}

#include "test_responses.moc"
