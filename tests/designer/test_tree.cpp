// The question tree, its commands and captions, the type options and what marks the survey changed.
#include "DesignerTest.h"
#include "designer/SelectComboByItemData.h"
#include "document/MatrixScales.h"
#include "platform/TextUtil.h"

#include <QClipboard>
#include <QLabel>

using namespace designertest;

class TreeTest : public QObject {
    Q_OBJECT

    Program p;

    // A survey of three questions typed in by the user: Age, Thanks (instruction text), Gender (radio).
    void buildAgeThanksGender()
    {
        typeQuestion(p.d, QStringLiteral("Age"));
        p.action("mnuDesignAddText")->trigger();
        typeQuestion(p.d, QStringLiteral("Thanks"));
        p.action("mnuDesignAddRadioQuestion")->trigger();
        typeQuestion(p.d, QStringLiteral("Gender"));
    }

    QStringList numbers()
    {
        QStringList list;
        for (int i = 1; i <= p.survey().QCount(); ++i)
            list << p.question(i)->QuestionNo;
        return list;
    }

private Q_SLOTS:
    void init() { p.start(); }
    void cleanup() { p.stop(); }

    void newSurveyShowsOneBlankQuestion()
    {
        QCOMPARE(p.d->rootNode()->text(0), QStringLiteral("Survey"));
        QCOMPARE(captions(p.d), QStringList { QStringLiteral("<Text not yet entered>") });
        QVERIFY(control<QWidget>(p.d, "picQProperties")->isVisible());
        QVERIFY(control<QRadioButton>(p.d, "optQType", 0)->isChecked());
        QCOMPARE(control<QComboBox>(p.d, "cmdOpenEndedNoOfRows")->currentText(), QStringLiteral("1"));
    }

    void addCommandsAppendTheirTypeAndSelectIt_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("panel");
        QTest::newRow("open ended") << "mnuDesignAddOpenEndedQuestion" << 0 << 0 << "picOpenEnded";
        QTest::newRow("check") << "mnuDesignAddCheckQuestion" << 1 << 1 << "picCheck";
        QTest::newRow("radio") << "mnuDesignAddRadioQuestion" << 2 << 2 << "picCheck";
        QTest::newRow("matrix") << "mnuDesignAddMatrixQuestion" << 3 << 4 << "picMatrix";
        QTest::newRow("text") << "mnuDesignAddText" << 4 << 3 << "picOpenEnded";
        QTest::newRow("toolbar question") << "Add Question" << 0 << 0 << "picOpenEnded";
        QTest::newRow("toolbar text") << "Add Text" << 4 << 3 << "picOpenEnded";
    }

    void addCommandsAppendTheirTypeAndSelectIt()
    {
        QFETCH(QString, command);
        QFETCH(int, type);
        QFETCH(int, option);
        QFETCH(QString, panel);
        typeQuestion(p.d, QStringLiteral("First"));
        p.clearChanged();
        if (command.startsWith(QLatin1String("mnu")))
            p.w->action(command)->trigger();
        else
            p.d->ToolbarDesign_ButtonClick(command);

        QCOMPARE(p.survey().QCount(), 2);
        const QPtr q = p.question(2);
        QCOMPARE(q->qType, type);
        QCOMPARE(q->DatabaseID, -1);
        QCOMPARE(q->QuestionNo, type == 4 ? QString() : QStringLiteral("2"));
        QCOMPARE(TreeNodes::keyOf(control<QTreeWidget>(p.d, "tvTreeView")->currentItem()), q->Key);
        QCOMPARE(captions(p.d), (QStringList { QStringLiteral("1. First"), QStringLiteral("<Text not yet entered>") }));
        QVERIFY(control<QRadioButton>(p.d, "optQType", option)->isChecked());
        QVERIFY(control<QWidget>(p.d, qPrintable(panel))->isVisible());
        QCOMPARE(control<RichTextBox>(p.d, "txtQ")->text(), QString());
        QVERIFY(p.changed());
        // The first question's text was committed before the add.
        QCOMPARE(rtf::toPlainText(p.question(1)->Question), QStringLiteral("First"));
    }

    void toolbarCommitsTheTextFirstAndIgnoresOtherKeys()
    {
        control<RichTextBox>(p.d, "txtQ")->setText(QStringLiteral("Typed without a key up"));
        p.d->ToolbarDesign_ButtonClick(QStringLiteral("Something Else"));
        QCOMPARE(p.survey().QCount(), 1);
        QCOMPARE(rtf::toPlainText(p.question(1)->Question), QStringLiteral("Typed without a key up"));
        QCOMPARE(captions(p.d), QStringList { QStringLiteral("1. Typed without a key up") });
    }

    void matrixAddTakesTheSelectedScale()
    {
        // The template's scales are listed; the entry of scale 5 gives scale 5.
        auto* cmbMatrixResponses = control<QComboBox>(p.d, "cmbMatrixResponses");
        SelectComboByItemData(cmbMatrixResponses, QStringLiteral("5"));
        p.action("mnuDesignAddMatrixQuestion")->trigger();
        QCOMPARE(p.current()->ResponseMatrixGroupID, 5);
        QCOMPARE(cmbMatrixResponses->currentData().toInt(), 5);

        // With an empty scale list nothing is selected and the question gets scale 1.
        p.w->session().SurveyConnection.execute(QStringLiteral("DELETE FROM responsematrixgroup WHERE id <> 1"));
        p.d->LoadMatrixResponses();
        QCOMPARE(cmbMatrixResponses->currentIndex(), -1);
        p.action("mnuDesignAddMatrixQuestion")->trigger();
        QCOMPARE(p.current()->ResponseMatrixGroupID, 1);
    }

    void captionsFollowMovesAndTextsNeverCarryANumber()
    {
        buildAgeThanksGender();
        QCOMPARE(captions(p.d), (QStringList { "1. Age", "Thanks", "2. Gender" }));
        p.clearChanged();

        auto* cmdUp = control<QPushButton>(p.d, "cmdUp");
        cmdUp->click();
        QCOMPARE(captions(p.d), (QStringList { "1. Age", "2. Gender", "Thanks" }));
        QVERIFY(p.changed());
        cmdUp->click();
        QCOMPARE(captions(p.d), (QStringList { "1. Gender", "2. Age", "Thanks" }));
        QCOMPARE(numbers(), (QStringList { "1", "2", "" }));
        // The moved question stays current and shown.
        QCOMPARE(p.current()->Key, p.question(1)->Key);
        QCOMPARE(control<RichTextBox>(p.d, "txtQ")->text(), QStringLiteral("Gender"));

        // At the top, Up does nothing and marks nothing; Down moves it back.
        p.clearChanged();
        cmdUp->click();
        QCOMPARE(captions(p.d), (QStringList { "1. Gender", "2. Age", "Thanks" }));
        QVERIFY(!p.changed());
        auto* cmdDown = control<QPushButton>(p.d, "cmdDown");
        cmdDown->click();
        QCOMPARE(captions(p.d), (QStringList { "1. Age", "2. Gender", "Thanks" }));
        cmdDown->click();
        p.clearChanged();
        cmdDown->click(); // already last
        QVERIFY(!p.changed());

        // With the root selected nothing moves.
        p.d->selectNode(p.d->rootNode());
        cmdUp->click();
        cmdDown->click();
        QVERIFY(!p.changed());
    }

    void deleteRenumbersAndShowsTheQuestionThatTakesItsPlace()
    {
        typeQuestion(p.d, QStringLiteral("Age"));
        for (const char* text : { "Gender", "City" }) {
            p.action("mnuDesignAddOpenEndedQuestion")->trigger();
            typeQuestion(p.d, QString::fromLatin1(text));
        }
        clickNode(control<QTreeWidget>(p.d, "tvTreeView"), p.node(0));
        auto* txtQ = control<RichTextBox>(p.d, "txtQ");
        QCOMPARE(txtQ->text(), QStringLiteral("Age"));
        p.clearChanged();
        control<QPushButton>(p.d, "cmdDelete")->click();
        QCOMPARE(captions(p.d), (QStringList { "1. Gender", "2. City" }));
        QCOMPARE(numbers(), (QStringList { "1", "2" }));
        QVERIFY(p.changed());

        // The pane shows the question now selected, and what is typed goes there.
        QCOMPARE(p.current()->Key, p.question(1)->Key);
        QCOMPARE(txtQ->text(), QStringLiteral("Gender"));
        typeQuestion(p.d, QStringLiteral("Sex"));
        QCOMPARE(rtf::toPlainText(p.question(1)->Question), QStringLiteral("Sex"));
        QCOMPARE(captions(p.d), (QStringList { "1. Sex", "2. City" }));

        // Deleting the last question shows the one before it.
        clickNode(control<QTreeWidget>(p.d, "tvTreeView"), p.node(1));
        control<QPushButton>(p.d, "cmdDelete")->click();
        QCOMPARE(captions(p.d), QStringList { "1. Sex" });
        QCOMPARE(txtQ->text(), QStringLiteral("Sex"));
        QVERIFY(control<QWidget>(p.d, "picQProperties")->isVisible());
    }

    void lastQuestionCannotBeDeleted()
    {
        p.clearChanged();
        Dialogs::Script::answer(Dialogs::OK);
        p.d->selectNode(p.d->rootNode()); // the refusal comes first, whatever is selected
        control<QPushButton>(p.d, "cmdDelete")->click();
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("Can't delete last question."));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::OKOnly);
        QCOMPARE(p.survey().QCount(), 1);
        QVERIFY(!p.changed());
    }

    void recaptioningShowsWholeTextsAndPlaceholders()
    {
        typeQuestion(p.d, QStringLiteral("Age\nin years"));
        QCOMPARE(captions(p.d), QStringList { "1. Age" });
        QVERIFY(rtf::toPlainText(p.question(1)->Question) == QStringLiteral("Age\r\nin years"));
        p.action("mnuDesignAddOpenEndedQuestion")->trigger();
        p.action("mnuDesignAddText")->trigger();
        QCOMPARE(captions(p.d), (QStringList { "1. Age", "<Text not yet entered>", "<Text not yet entered>" }));

        p.d->selectNode(p.node(0));
        control<QPushButton>(p.d, "cmdDown")->click();
        QCOMPARE(captions(p.d),
            (QStringList { "1. <Text not yet entered>", "2. Age\r\nin years", "<Text not yet entered>" }));
        // The next commit of the moved question shows its first line only.
        p.d->txtQ_LostFocus();
        QCOMPARE(captions(p.d).at(1), QStringLiteral("2. Age"));

        // An emptied text shows the placeholder after the number; an instruction text without one.
        typeQuestion(p.d, QString());
        QCOMPARE(captions(p.d).at(1), QStringLiteral("2. <Text not yet entered>"));
        p.d->selectNode(p.node(2));
        typeQuestion(p.d, QStringLiteral("Note"));
        typeQuestion(p.d, QString());
        QCOMPARE(captions(p.d).at(2), QStringLiteral("<Text not yet entered>"));
    }

    void nodeClicksShowAndHideThePane()
    {
        typeQuestion(p.d, QStringLiteral("What is your age?"));
        auto* tvTreeView = control<QTreeWidget>(p.d, "tvTreeView");
        clickNode(tvTreeView, p.d->rootNode());
        QVERIFY(!control<QWidget>(p.d, "picQProperties")->isVisible());
        clickNode(tvTreeView, p.node(0));
        QVERIFY(control<QWidget>(p.d, "picQProperties")->isVisible());
        auto* txtQ = control<RichTextBox>(p.d, "txtQ");
        QVERIFY(txtQ->hasFocus());
        QCOMPARE(txtQ->selStart(), 0);
        QCOMPARE(txtQ->textCursor().selectedText(), QStringLiteral("What is your age?"));

        // Moving through the tree with the keyboard shows each question too.
        p.action("mnuDesignAddRadioQuestion")->trigger();
        typeQuestion(p.d, QStringLiteral("Colour"));
        tvTreeView->setFocus();
        QTest::keyClick(tvTreeView, Qt::Key_Up);
        QCOMPARE(txtQ->text(), QStringLiteral("What is your age?"));
        QVERIFY(control<QWidget>(p.d, "picOpenEnded")->isVisible());
    }

    void typeOptionsMapToTypesAndPanels_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<bool>("responsesLabel");
        QTest::addColumn<bool>("logic");
        QTest::newRow("Open Ended") << 0 << 0 << "picOpenEnded" << false << false;
        QTest::newRow("many Responses") << 1 << 1 << "picCheck" << true << false;
        QTest::newRow("single Response") << 2 << 2 << "picCheck" << true << true;
        QTest::newRow("Instruction Text") << 3 << 4 << "picOpenEnded" << false << false;
        QTest::newRow("Question Matrix") << 4 << 3 << "picMatrix" << true << false;
    }

    void typeOptionsMapToTypesAndPanels()
    {
        QFETCH(int, option);
        QFETCH(int, type);
        QFETCH(QString, panel);
        QFETCH(bool, responsesLabel);
        QFETCH(bool, logic);
        const QStringList captionsOfOptions { "&Open Ended", "Multiple choice - &many Responses",
            "Multiple choice - &single Response", "Instruction &Text", "Question &Matrix" };
        QCOMPARE(control<QRadioButton>(p.d, "optQType", option)->text(), captionsOfOptions.at(option));
        QCOMPARE(control<QRadioButton>(p.d, "optQType", option)->property("Index").toInt(), option);
        QCOMPARE(DesignScreen::typeOfOption(option), type);
        QCOMPARE(DesignScreen::optionOfType(type), option);

        // Start from another type, so that the click changes something.
        control<QRadioButton>(p.d, "optQType", option == 2 ? 1 : 2)->click();
        p.clearChanged();
        control<QRadioButton>(p.d, "optQType", option)->click();
        QCOMPARE(p.question(1)->qType, type);
        QVERIFY(p.changed());
        for (const char* name : { "picOpenEnded", "picCheck", "picMatrix" })
            QCOMPARE(control<QWidget>(p.d, name)->isVisible(), panel == QLatin1String(name));
        QCOMPARE(control<QLabel>(p.d, "Label1", 4)->isVisible(), responsesLabel);
        QCOMPARE(control<QPushButton>(p.d, "cmdRadioLogic")->isVisible(), logic);

        // A question of that type read back selects the option again.
        p.d->selectNode(p.d->rootNode());
        control<QRadioButton>(p.d, "optQType", 0)->setChecked(true);
        p.d->selectNode(p.node(0));
        QVERIFY(control<QRadioButton>(p.d, "optQType", option)->isChecked());
    }

    void typeChangeKeepsResponses()
    {
        p.action("mnuDesignAddRadioQuestion")->trigger();
        typeResponse(control<QLineEdit>(p.d, "txtCheckResponse"), QStringLiteral("Yes"));
        typeResponse(control<QLineEdit>(p.d, "txtCheckResponse"), QStringLiteral("No"));
        p.clearChanged();
        control<QRadioButton>(p.d, "optQType", 1)->click();
        QCOMPARE(p.current()->qType, 1);
        QCOMPARE(listTexts(control<QListWidget>(p.d, "lstCheckResponses")), (QStringList { "Yes", "No" }));
        QVERIFY(!control<QPushButton>(p.d, "cmdRadioLogic")->isVisible());
        QVERIFY(p.changed());

        control<QRadioButton>(p.d, "optQType", 0)->click();
        QCOMPARE(responseTexts(*p.current()), (QStringList { "Yes", "No" }));
        control<QRadioButton>(p.d, "optQType", 1)->click();
        QCOMPARE(listTexts(control<QListWidget>(p.d, "lstCheckResponses")), (QStringList { "Yes", "No" }));
    }

    void typeChangeRenumbersSoTextsCarryNoNumber()
    {
        typeQuestion(p.d, QStringLiteral("A"));
        for (const char* text : { "B", "C" }) {
            p.action("mnuDesignAddOpenEndedQuestion")->trigger();
            typeQuestion(p.d, QString::fromLatin1(text));
        }
        p.d->selectNode(p.node(1));
        control<QRadioButton>(p.d, "optQType", 3)->click();
        QCOMPARE(captions(p.d), (QStringList { "1. A", "B", "2. C" }));
        QCOMPARE(numbers(), (QStringList { "1", "", "2" }));
        typeQuestion(p.d, QStringLiteral("B2"));
        p.d->selectNode(p.node(2));
        typeQuestion(p.d, QStringLiteral("C2"));
        QCOMPARE(captions(p.d), (QStringList { "1. A", "B2", "2. C2" }));

        p.d->selectNode(p.node(1));
        control<QRadioButton>(p.d, "optQType", 0)->click();
        QCOMPARE(captions(p.d), (QStringList { "1. A", "2. B2", "3. C2" }));
        QCOMPARE(numbers(), (QStringList { "1", "2", "3" }));
    }

    // A question of any length gets a caption and tooltip of a few hundred characters; its text
    // stays whole.
    void aHugeQuestionGetsAShortCaption()
    {
        const QString text = QStringLiteral("A long question. ").repeated(60000); // about 1 MB
        const QString path = p.writeSurvey(
            QStringLiteral("huge.tvq"), { { QTypeOpenEnded, text }, { QTypeOpenEnded, QStringLiteral("B") } });
        p.open(path);
        const QString stored = p.question(1)->Question;
        QCOMPARE(rtf::toPlainText(stored), text);

        const QString caption = QStringLiteral("1. ") + captionText(text);
        QVERIFY(caption.size() <= 3 + kCaptionLength + 1);
        const std::function<void()> writers[] = {
            [] {}, // opening the file
            [this] { p.d->txtQ_LostFocus(); },
            [this] { p.d->ReindexTreeQuestionNos(); },
        };
        for (const auto& write : writers) {
            write();
            QCOMPARE(p.node(0)->text(0), caption);
            QCOMPARE(p.node(0)->toolTip(0), caption);
        }
        QCOMPARE(rtf::toPlainText(p.question(1)->Question), text);
    }

    // A question text longer than the editor takes opens with a short caption; the editor shows
    // its start read-only with a notice, nothing the user does there changes it, and saving
    // writes it back byte for byte.
    void aTextTooLongToEditStaysAsStored_data()
    {
        QTest::addColumn<QString>("text");
        // Formatting the writer would put differently, and plain text it would turn into RTF.
        QTest::newRow("rtf") << QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ")
                + QStringLiteral("A long question with {\\b one} bold word.\\line ").repeated(30000)
                + QStringLiteral("\\par}");
        QTest::newRow("plain") << QStringLiteral("A long question in plain text.\r\n").repeated(35000);
    }

    void aTextTooLongToEditStaysAsStored()
    {
        QFETCH(QString, text);
        const QString plain = rtf::toPlainText(text);
        QVERIFY(plain.size() > DesignScreen::kEditLength);
        const QString path = p.folder->newSurvey(QStringLiteral("long.tvq"));
        {
            db::Connection c;
            SurveyFile::openConnection(c, path);
            clsSurvey s;
            s.AddQ(text, QTypeOpenEnded, -1, 2);
            s.AddQ(rtf::fromPlainText(QStringLiteral("B")), QTypeOpenEnded, -1, 2);
            SurveyFile::save(c, s);
        }
        p.open(path);

        QCOMPARE(p.node(0)->text(0), QStringLiteral("1. ") + captionText(plain));
        QVERIFY(p.node(0)->text(0).size() <= 3 + kCaptionLength + 1);
        QCOMPARE(p.current(), p.question(1));
        auto* txtQ = control<RichTextBox>(p.d, "txtQ");
        QVERIFY(txtQ->isReadOnly());
        auto* lblTextTooLong = control<QLabel>(p.d, "lblTextTooLong");
        QVERIFY(lblTextTooLong->isVisible());
        QVERIFY(lblTextTooLong->font().italic());
        const QString shown = txtQ->text();
        QVERIFY(shown.size() <= DesignScreen::kEditLength);
        QVERIFY(shown.size() >= DesignScreen::kEditLength - 2);
        QVERIFY(plain.startsWith(shown));

        // Typing, formatting, pasting and leaving the editor commit nothing.
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        txtQ->setFocus();
        QTest::keyClick(txtQ, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(txtQ, QStringLiteral("typed"));
        QTest::keyClick(txtQ, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(txtQ, Qt::Key_V, Qt::ControlModifier);
        p.d->txtQ_LostFocus();
        p.d->ReindexTreeQuestionNos();
        QCOMPARE(p.question(1)->Question, text);
        QVERIFY(!p.changed());

        // Another question is edited as usual; the long one comes back read-only.
        p.d->selectNode(p.node(1));
        QVERIFY(!txtQ->isReadOnly());
        QVERIFY(!lblTextTooLong->isVisibleTo(control<QWidget>(p.d, "picQProperties")));
        typeQuestion(p.d, QStringLiteral("B2"));
        p.d->selectNode(p.node(0));
        QVERIFY(txtQ->isReadOnly());
        QVERIFY(lblTextTooLong->isVisible());
        QCOMPARE(p.question(1)->Question, text);

        QVERIFY(p.w->DoSave());
        db::Connection c;
        SurveyFile::openConnection(c, path);
        db::Recordset rs = c.openRecordset(QStringLiteral("SELECT question FROM question ORDER BY pos"));
        QVERIFY(!rs.atEnd());
        QCOMPARE(rs.field(0).toString(), text);
        rs.moveNext();
        QVERIFY(!rs.atEnd());
        QCOMPARE(rtf::toPlainText(rs.field(0).toString()), QStringLiteral("B2"));
    }

    // The number of answer rows goes to the question the pane showed when it was chosen, also when
    // a question is added while the list still has the focus.
    void answerRowsGoToTheQuestionShownWhenChosen_data()
    {
        QTest::addColumn<bool>("toolbar");
        QTest::newRow("Design menu") << false;
        QTest::newRow("design toolbar") << true;
    }

    void answerRowsGoToTheQuestionShownWhenChosen()
    {
        QFETCH(bool, toolbar);
        auto* cmdOpenEndedNoOfRows = control<QComboBox>(p.d, "cmdOpenEndedNoOfRows");
        cmdOpenEndedNoOfRows->setFocus();
        QTest::keyClick(cmdOpenEndedNoOfRows, Qt::Key_Down);
        QTest::keyClick(cmdOpenEndedNoOfRows, Qt::Key_Down);
        QCOMPARE(cmdOpenEndedNoOfRows->currentText(), QStringLiteral("3"));
        QVERIFY(cmdOpenEndedNoOfRows->hasFocus());
        if (toolbar)
            frmMain::toolbarButton(p.w->ToolbarDesign, QStringLiteral("Add Question"))->trigger();
        else
            p.action("mnuDesignAddOpenEndedQuestion")->trigger();
        QCOMPARE(p.survey().QCount(), 2);
        QCOMPARE(p.question(1)->OpenEnded_NoOfRows, 3);
        QCOMPARE(p.question(2)->OpenEnded_NoOfRows, 1);
        QCOMPARE(cmdOpenEndedNoOfRows->currentText(), QStringLiteral("1"));
    }

    void answerRowsAreKeptWithoutMarking()
    {
        p.clearChanged();
        auto* cmdOpenEndedNoOfRows = control<QComboBox>(p.d, "cmdOpenEndedNoOfRows");
        cmdOpenEndedNoOfRows->setFocus();
        QTest::keyClick(cmdOpenEndedNoOfRows, Qt::Key_Down);
        QTest::keyClick(cmdOpenEndedNoOfRows, Qt::Key_Down);
        QCOMPARE(cmdOpenEndedNoOfRows->currentText(), QStringLiteral("3"));
        control<RichTextBox>(p.d, "txtQ")->setFocus();
        QCOMPARE(p.question(1)->OpenEnded_NoOfRows, 3);
        QVERIFY(!p.changed());

        // Shown again it selects "3"; a question read from a file (0 rows) selects no entry.
        p.action("mnuDesignAddOpenEndedQuestion")->trigger();
        QCOMPARE(cmdOpenEndedNoOfRows->currentText(), QStringLiteral("1"));
        p.d->selectNode(p.node(0));
        QCOMPARE(cmdOpenEndedNoOfRows->currentText(), QStringLiteral("3"));
        p.question(1)->OpenEnded_NoOfRows = 0;
        p.d->selectNode(p.node(0));
        QCOMPARE(cmdOpenEndedNoOfRows->currentIndex(), -1);
    }

    void enterAddsAResponseOnlyWhileTheBoxHasTheFocus()
    {
        p.action("mnuDesignAddCheckQuestion")->trigger();
        auto* txtCheckResponse = control<QLineEdit>(p.d, "txtCheckResponse");
        QVERIFY(txtCheckResponse->hasFocus());
        QCOMPARE(p.d->defaultButton(), control<QPushButton>(p.d, "cmdCheckAdd"));
        typeResponse(txtCheckResponse, QStringLiteral("Strongly agree"));
        QCOMPARE(listTexts(control<QListWidget>(p.d, "lstCheckResponses")), QStringList { "Strongly agree" });
        const ResponsePtr r = p.current()->GetResponse(1);
        QCOMPARE(r->Text, QStringLiteral("Strongly agree"));
        QCOMPARE(r->DatabaseID, -1);
        QCOMPARE(r->LogicJumpToQuestionID, -1);
        QCOMPARE(r->LogicJumpToQuestionKey, QString());
        QCOMPARE(txtCheckResponse->text(), QString());
        QVERIFY(txtCheckResponse->hasFocus());

        control<RichTextBox>(p.d, "txtQ")->setFocus();
        QCOMPARE(p.d->defaultButton(), nullptr);
        QTest::keyClick(control<RichTextBox>(p.d, "txtQ"), Qt::Key_Return);
        QCOMPARE(p.current()->ResponsesCount(), 1);

        // The matrix rows box does the same with its own button.
        p.action("mnuDesignAddMatrixQuestion")->trigger();
        QCOMPARE(p.d->defaultButton(), control<QPushButton>(p.d, "cmdMatrixAdd"));
        typeResponse(control<QLineEdit>(p.d, "txtMatrixResponse"), QStringLiteral("Service"));
        QCOMPARE(responseTexts(*p.current()), QStringList { "Service" });
    }

    // Each action, from a survey marked unchanged, and whether it marks the survey changed.
    void whatMarksTheSurveyChanged()
    {
        const QString path = p.writeSurvey(QStringLiteral("marks.tvq"),
            { { 0, "Open one" }, { 0, "Open two" }, { 2, "Radio|Yes|No" }, { 3, "Matrix|Row" } });
        p.open(path);
        DesignScreen* d = p.d;
        const auto show = [&](int i) { d->selectNode(p.node(i)); };
        struct Case {
            const char* name;
            std::function<void()> before;
            std::function<void()> act;
            bool marks;
        };
        auto* txtQ = control<RichTextBox>(d, "txtQ");
        auto* lstCheckResponses = control<QListWidget>(d, "lstCheckResponses");
        auto* cmbMatrixResponses = control<QComboBox>(d, "cmbMatrixResponses");
        const std::vector<Case> cases = {
            { "add a question", [] {}, [&] { p.action("mnuDesignAddOpenEndedQuestion")->trigger(); }, true },
            { "delete a question", [&] { show(4); }, [&] { control<QPushButton>(d, "cmdDelete")->click(); }, true },
            { "move a question", [&] { show(1); }, [&] { control<QPushButton>(d, "cmdUp")->click(); }, true },
            { "click a type option", [&] { show(0); }, [&] { control<QRadioButton>(d, "optQType", 3)->click(); },
                true },
            { "click from a radio question to an open-ended one", [&] { show(2); }, [&] { show(1); }, true },
            { "click between two open-ended questions",
                [&] {
                    show(0);
                    control<QRadioButton>(d, "optQType", 0)->click();
                },
                [&] { show(1); }, false },
            { "an arrow key in the editor", [&] { show(0); }, [&] { QTest::keyClick(txtQ, Qt::Key_Right); }, true },
            { "committing the text", [&] { show(0); }, [&] { d->txtQ_LostFocus(); }, false },
            { "pasting through the editor's own menu",
                [&] {
                    show(0);
                    QApplication::clipboard()->setText("Pasted");
                },
                [&] {
                    txtQ->selectAll();
                    txtQ->paste();
                    QCOMPARE(captions(d).at(0), QStringLiteral("1. Pasted"));
                },
                true },
            { "a toolbar click that adds nothing", [&] { show(0); },
                [&] { d->ToolbarDesign_ButtonClick(QStringLiteral("Other")); }, false },
            { "choosing a number of answer rows", [&] { show(0); },
                [&] {
                    control<QComboBox>(d, "cmdOpenEndedNoOfRows")->setCurrentIndex(4);
                    d->cmdOpenEndedNoOfRows_LostFocus();
                },
                false },
            { "adding a response", [&] { show(2); },
                [&] { typeResponse(control<QLineEdit>(d, "txtCheckResponse"), "Maybe"); }, true },
            { "Add with an empty box", [&] { show(2); }, [&] { control<QPushButton>(d, "cmdCheckAdd")->click(); },
                true },
            { "deleting a response",
                [&] {
                    show(2);
                    selectRow(lstCheckResponses, 0);
                },
                [&] { control<QPushButton>(d, "cdmCheckDelete")->click(); }, true },
            { "moving a response",
                [&] {
                    show(2);
                    selectRow(lstCheckResponses, 0);
                },
                [&] { control<QPushButton>(d, "cmdCheckDown")->click(); }, true },
            { "adding a matrix row", [&] { show(3); },
                [&] { typeResponse(control<QLineEdit>(d, "txtMatrixResponse"), "Another"); }, true },
            { "the user choosing another scale", [&] { show(3); },
                [&] {
                    cmbMatrixResponses->setFocus();
                    QTest::keyClick(cmbMatrixResponses, Qt::Key_Down);
                },
                true },
            { "refilling the scale list", [&] { show(3); }, [&] { d->LoadMatrixResponses(); }, false },
            { "showing a matrix question, which selects its scale",
                [&] {
                    show(3);
                    d->selectNode(d->rootNode());
                    cmbMatrixResponses->setCurrentIndex(0);
                },
                [&] {
                    show(3);
                    QVERIFY(cmbMatrixResponses->currentIndex() != 0);
                },
                false },
            { "adding an answer scale to the file", [&] { show(3); },
                [&] {
                    MatrixScales::add(p.w->session().SurveyConnection, { "Lo", "Hi" });
                    d->LoadMatrixResponses();
                },
                false },
            { "Logic... without a selected response",
                [&] {
                    show(2);
                    lstCheckResponses->clearSelection();
                    Dialogs::Script::answer(Dialogs::OK);
                },
                [&] { control<QPushButton>(d, "cmdRadioLogic")->click(); }, false },
            { "Logic... closed with Cancel",
                [&] {
                    show(2);
                    selectRow(lstCheckResponses, 0);
                },
                [&] {
                    whenModal([](QWidget* m) { m->findChild<QPushButton*>("cmdCancel")->click(); });
                    control<QPushButton>(d, "cmdRadioLogic")->click();
                },
                true },
            { "a library text put into the empty current question",
                [&] {
                    p.action("mnuDesignAddOpenEndedQuestion")->trigger();
                    p.loadLibrary();
                    control<QTreeWidget>(d, "tvTreeLibrary")
                        ->setCurrentItem(control<QTreeWidget>(d, "tvTreeLibrary")->topLevelItem(0)->child(0)->child(0));
                },
                [&] { control<QPushButton>(d, "cmdLibraryAdd")->click(); }, true },
        };
        for (const Case& c : cases) {
            c.before();
            p.clearChanged();
            c.act();
            QCoreApplication::processEvents();
            QVERIFY2(p.changed() == c.marks, c.name);
        }
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<TreeTest>(argc, argv);
}

#include "test_tree.moc"
