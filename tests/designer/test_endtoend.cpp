// A questionnaire of every type built through the Design screen, saved and opened again.
#include "DesignerTest.h"

using namespace designertest;

namespace {

QStringList rows(db::Connection& c, const QString& sql)
{
    QStringList list;
    db::Recordset rs = c.openRecordset(sql);
    for (; !rs.atEnd(); rs.moveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.fieldCount(); ++i)
            fields << (rs.isNull(i) ? QStringLiteral("NULL") : rs.field(i).toString());
        list << fields.join(QLatin1Char('|'));
    }
    return list;
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

    Program p;

    // Defines a scale through Define... and the add dialog, as the user does.
    void defineScale(const QStringList& captions)
    {
        whenModal([captions](QWidget* define) {
            whenModal([captions](QWidget* add) {
                auto* name = add->findChild<QLineEdit*>(QStringLiteral("txtName"));
                for (const QString& caption : captions) {
                    QTest::keyClicks(name, caption);
                    QTest::keyClick(name, Qt::Key_Return);
                }
                add->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            });
            whenTrue([define] { return QApplication::activeModalWidget() == define; },
                [define] { QTest::keyClick(define, Qt::Key_Escape); });
            QTest::keyClick(define, Qt::Key_Return); // Define... is the default button
        });
        control<QPushButton>(p.d, "cmdMatrixDefine")->click();
        // Without a window manager nothing gives the main window back its activation.
        p.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.w.get()));
    }

private Q_SLOTS:
    void init() { p.start(); }
    void cleanup() { p.stop(); }

    void questionnaireSurvivesSaveAndReopen()
    {
        DesignScreen* d = p.d;
        // 1: the blank open-ended question of a new survey.
        typeQuestion(d, QStringLiteral("What is your name?"));

        // 2: a check question, typed in the wrong type first and retyped.
        p.action("mnuDesignAddRadioQuestion")->trigger();
        typeQuestion(d, QStringLiteral("Which fruits do you like?"));
        control<QRadioButton>(d, "optQType", 1)->click();
        for (const char* r : { "Apple", "Pear", "Plum" })
            typeResponse(control<QLineEdit>(d, "txtCheckResponse"), QString::fromLatin1(r));
        auto* lstCheckResponses = control<QListWidget>(d, "lstCheckResponses");
        selectRow(lstCheckResponses, 2);
        control<QPushButton>(d, "cmdCheckUp")->click(); // Apple, Plum, Pear

        // 3: what becomes the instruction text, added as a question and moved to the end below.
        p.action("mnuDesignAddOpenEndedQuestion")->trigger();
        typeQuestion(d, QStringLiteral("Thank you for your time."));

        // 4: a radio question whose "No" jumps to the instruction text.
        p.action("mnuDesignAddRadioQuestion")->trigger();
        typeQuestion(d, QStringLiteral("Do you drive?"));
        for (const char* r : { "Yes", "No" })
            typeResponse(control<QLineEdit>(d, "txtCheckResponse"), QString::fromLatin1(r));
        selectRow(lstCheckResponses, 1);
        whenModal([](QWidget* logic) {
            auto* list = logic->findChild<QComboBox*>(QStringLiteral("cboList"));
            list->setCurrentIndex(list->findText(QStringLiteral("3. Thank you for your time.")));
            logic->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        control<QPushButton>(d, "cmdRadioLogic")->click();

        // 5: a matrix question on a scale of the user's own.
        p.action("mnuDesignAddMatrixQuestion")->trigger();
        typeQuestion(d, QStringLiteral("Please rate us"));
        defineScale({ "Poor", "Fair", "Good" });
        auto* cmbMatrixResponses = control<QComboBox>(d, "cmbMatrixResponses");
        cmbMatrixResponses->setFocus();
        QTest::keyClick(cmbMatrixResponses, Qt::Key_End);
        QCOMPARE(cmbMatrixResponses->currentText(), QStringLiteral("Poor/Fair/Good"));
        const int scale = cmbMatrixResponses->currentData().toInt();
        for (const char* r : { "Service", "Price" })
            typeResponse(control<QLineEdit>(d, "txtMatrixResponse"), QString::fromLatin1(r));

        // It goes last and only then becomes an instruction text, which gives up its number.
        clickNode(control<QTreeWidget>(d, "tvTreeView"), p.node(2));
        control<QPushButton>(d, "cmdDown")->click();
        control<QPushButton>(d, "cmdDown")->click();
        QCOMPARE(captions(d).at(4), QStringLiteral("5. Thank you for your time."));
        control<QRadioButton>(d, "optQType", 3)->click();
        const QStringList expected { "1. What is your name?", "2. Which fruits do you like?", "3. Do you drive?",
            "4. Please rate us", "Thank you for your time." };
        QCOMPARE(captions(d), expected);
        QVERIFY(p.w->IsFileChanged());

        const QString path = p.folder->file(QStringLiteral("questionnaire.tvq"));
        Dialogs::Script::fileName(path);
        p.action("mnuFileSave")->trigger();
        QCOMPARE(p.w->session().CurrentFile, path);
        QVERIFY(!p.w->IsFileChanged());

        // Open it again from scratch, as the user does.
        p.action("mnuNew")->trigger();
        QCOMPARE(captions(d), QStringList {});
        Dialogs::Script::fileName(path);
        p.action("mnuFileOpen")->trigger();
        QCOMPARE(captions(d), expected);
        QCOMPARE(control<RichTextBox>(p.d, "txtQ")->text(), QStringLiteral("What is your name?"));
        QVERIFY(!p.w->IsFileChanged());

        db::Connection file;
        SurveyFile::openConnection(file, path);
        QStringList questions;
        for (const QString& row :
            rows(file, QStringLiteral("SELECT id, question, questionno, qtype, pos FROM question ORDER BY pos"))) {
            QStringList f = row.split(QLatin1Char('|'));
            f[1] = rtf::toPlainText(f[1]);
            questions << f.mid(1).join(QLatin1Char('|'));
        }
        QCOMPARE(questions,
            (QStringList { "What is your name?|1|0|1", "Which fruits do you like?|2|1|2", "Do you drive?|3|2|3",
                "Please rate us|4|3|4", "Thank you for your time.||4|5" }));
        const QString textId = rows(file, QStringLiteral("SELECT id FROM question WHERE pos = 5")).first();
        QCOMPARE(rows(file,
                     QStringLiteral("SELECT q.pos, r.name, r.pos, r.responseMatrixGroupID, r.LogicJumpToQuestionID "
                                    "FROM response r JOIN question q ON q.id = r.questionid ORDER BY q.pos, r.pos")),
            (QStringList { "2|Apple|1|2|NULL", "2|Plum|2|2|NULL", "2|Pear|3|2|NULL", "3|Yes|1|2|NULL",
                "3|No|2|2|" + textId, QStringLiteral("4|Service|1|%1|NULL").arg(scale),
                QStringLiteral("4|Price|2|%1|NULL").arg(scale) }));
        QCOMPARE(rows(file,
                     QStringLiteral("SELECT g.name, m.name, m.pos FROM responsematrixgroup g JOIN responsematrix m "
                                    "ON m.responsematrixgroupid = g.id WHERE g.id = %1 ORDER BY m.pos")
                         .arg(scale)),
            (QStringList { "User Added|Poor|0", "User Added|Fair|1", "User Added|Good|2" }));

        // The reopened survey holds the same questions: the jump, the rows and the scale.
        const QPtr radio = p.question(3);
        QCOMPARE(radio->GetResponse(2)->LogicJumpToQuestionKey, p.question(5)->Key);
        d->selectNode(p.node(3));
        QCOMPARE(listTexts(control<QListWidget>(d, "lstMatrixResponses")), (QStringList { "Service", "Price" }));
        QCOMPARE(cmbMatrixResponses->currentText(), QStringLiteral("Poor/Fair/Good"));
        d->selectNode(p.node(1));
        QCOMPARE(listTexts(lstCheckResponses), (QStringList { "Apple", "Plum", "Pear" }));
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<EndToEndTest>(argc, argv);
}

#include "test_endtoend.moc"
