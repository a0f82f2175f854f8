// The Data Collection screen in the running program: the respondent list, its commands, the
// refills it does and does not do, the paper questionnaire command, and one respondent entered,
// reopened and deleted with the keyboard alone.
#include "Controls.h"
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "StartProgram.h"
#include "SurveyFixture.h"
#include "collection/CollectScreen.h"
#include "collection/frmManualResponse.h"
#include "document/clsQ.h"
#include "platform/Rtf.h"
#include "platform/Shell.h"
#include "shell/frmMain.h"
#include "widgets/Dialogs.h"
#include "widgets/FlexGrid.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace collectiontest;

namespace {

QStringList column(const FlexGrid* g, int col)
{
    QStringList cells;
    for (int r = 1; r < g->rows(); ++r)
        cells << g->textMatrix(r, col);
    return cells;
}

QList<qint32> rowIds(const FlexGrid* g)
{
    QList<qint32> ids;
    for (int r = 1; r < g->rows(); ++r)
        ids << g->rowData(r);
    return ids;
}

QStringList comboTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

void key(QWidget* window, Qt::Key k, Qt::KeyboardModifiers modifiers = {})
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, k, modifiers);
}

} // namespace

class ListTest : public GuiTest {
    Q_OBJECT

    CollectScreen* s = nullptr;
    FlexGrid* g = nullptr;

    db::Connection& conn() { return w->session().SurveyConnection; }

    void start(const QList<Question>& questions)
    {
        const QString path = makeSurvey(*folder, QStringLiteral("s.tvq"), questions);
        TestProgram::start();
        if (!w)
            return;
        s = w->collect();
        g = control<FlexGrid>(s, "gRespondents");
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        // Opened as the File menu opens it: no question is added, nothing is changed.
        w->DoClose();
        QVERIFY(w->DoOpen(path, true, 1));
    }

    qint64 addRespondent(const QString& date, const QVariant& source, const QVariant& firstAnswer = {})
    {
        conn().execute(
            QStringLiteral("INSERT INTO respondent (submitteddate, source) VALUES (?, ?)"), { date, source });
        const qint64 id = conn().lastInsertId();
        if (firstAnswer.isValid())
            conn().execute(QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
                                          "SimpleResponse) VALUES (?, ?, 1, ?)"),
                { questionId(conn(), 1), id, firstAnswer });
        return id;
    }

    void viewDataCollection() { w->action(QStringLiteral("mnuViewDataCollection"))->trigger(); }

private Q_SLOTS:
    void cleanup()
    {
        s = nullptr;
        g = nullptr;
        GuiTest::cleanup();
    }

    void respondentsAreListedNewestFirstWithTheirExampleAnswer()
    {
        start({ { QTypeOpenEnded, QStringLiteral("Name?") }, { QTypeRadio, QStringLiteral("Pet?"), { "Cat" } },
            { QTypeOpenEnded, QStringLiteral("City?") } });
        const qint64 jan = addRespondent(
            QStringLiteral("2024-01-05 10:00:00"), QStringLiteral("Manual Entry"), QStringLiteral("Ann"));
        const qint64 mar
            = addRespondent(QStringLiteral("2024-03-01 09:30:15"), QStringLiteral("Web"), QStringLiteral(""));
        const qint64 feb = addRespondent(QStringLiteral("2024-02-10 08:00:00"), QVariant());
        conn().execute(
            QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, SimpleResponse) "
                           "VALUES (?, ?, 1, 'Oslo')"),
            { questionId(conn(), 3), feb });

        viewDataCollection();
        QVERIFY(s->isVisible());
        QVERIFY(control<QWidget>(s, "picRespondentList")->isVisible());
        auto* cboDCExampleQuestion = control<QComboBox>(s, "cboDCExampleQuestion");
        QCOMPARE(comboTexts(cboDCExampleQuestion), (QStringList { "1. Name?", "3. City?" }));
        QCOMPARE(cboDCExampleQuestion->itemData(1).toInt(), questionId(conn(), 3));
        QVERIFY(cboDCExampleQuestion->isVisible());
        QCOMPARE(cboDCExampleQuestion->currentIndex(), 0);

        QCOMPARE(rowIds(g), (QList<qint32> { qint32(mar), qint32(feb), qint32(jan) }));
        QCOMPARE(column(g, 1), (QStringList { "No Answer", "No Answer", "Ann" }));
        QCOMPARE(column(g, 2), (QStringList { "Web", "", "Manual Entry" }));
        const QLocale locale = QLocale::system();
        const QString when = g->textMatrix(1, 0);
        QVERIFY2(when.startsWith(locale.toString(QDate(2024, 3, 1), QLocale::LongFormat) + QStringLiteral(" - ")),
            qPrintable(when));
        QVERIFY2(when.contains(QStringLiteral("30")) && when.contains(QStringLiteral("15")), qPrintable(when));
        // The refill keeps the widths the start-up gave.
        QCOMPARE(g->columnWidth(0), Twips::toPixelsX(3500));
        QCOMPARE(g->colWidthTwips(2), 1600);
        // The whole first row is selected.
        QCOMPARE(g->row(), 1);
        QCOMPARE(g->col(), 0);
        QCOMPARE(g->selectionModel()->selectedIndexes().size(), 3);
        QCOMPARE(g->selectionModel()->selectedRows().value(0).row(), 0);

        // Another example question: the same row stays selected, column 1 shows its answers.
        g->setRow(2);
        cboDCExampleQuestion->setFocus();
        QTest::keyClick(cboDCExampleQuestion, Qt::Key_Down);
        QCOMPARE(cboDCExampleQuestion->currentIndex(), 1);
        QCOMPARE(g->row(), 2);
        QCOMPARE(column(g, 1), (QStringList { "No Answer", "Oslo", "No Answer" }));

        // A row past the end selects the last; a listed id wins over the row.
        w->RefreshRespondentList(7, 0);
        QCOMPARE(g->row(), 3);
        w->RefreshRespondentList(1, qint32(feb));
        QCOMPARE(g->row(), 2);
        QCOMPARE(cboDCExampleQuestion->currentIndex(), 1);
    }

    void withoutOpenQuestionsOrRespondents()
    {
        start({ { QTypeRadio, QStringLiteral("Pet?"), { "Cat" } } });
        viewDataCollection();
        QVERIFY(!control<QComboBox>(s, "cboDCExampleQuestion")->isVisible());
        QCOMPARE(g->rows(), 1);
        QCOMPARE(g->row(), 0);
        // View/Edit, a double click and Delete need a respondent.
        const QString none
            = QStringLiteral("No Respondent has been selected. Please select a Respondent from the list to continue.");
        for (QPushButton* button :
            { control<QPushButton>(s, "cmdEditResponse"), control<QPushButton>(s, "cmdDeleteResponse") }) {
            Dialogs::Script::answer(Dialogs::OK);
            button->click();
            QCOMPARE(Dialogs::Script::lastText(), none);
            QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        }
        Dialogs::Script::answer(Dialogs::OK);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(Dialogs::Script::shown().size(), 3);

        addRespondent(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("Web"), QStringLiteral("kept"));
        w->RefreshRespondentList(1, 0);
        QCOMPARE(column(g, 1), QStringList { "No Answer" });
    }

    void addingAndCancellingLeavesANewFirstRow()
    {
        start({ { QTypeOpenEnded, QStringLiteral("Name?") } });
        const qint64 older = addRespondent(QStringLiteral("2020-01-01 00:00:00"), QStringLiteral("Web"));
        viewDataCollection();
        auto seen = handleNextModal(QStringLiteral("frmManualResponse"), [](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Survey Response"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        control<QPushButton>(s, "cmdCreateResponse")->click();
        QVERIFY(seen->shown);
        QCOMPARE(g->rows(), 3);
        const qint32 added = s->CurrentRespondentID;
        QCOMPARE(
            number(conn(), QStringLiteral("SELECT COUNT(*) FROM respondent WHERE id = ? AND source = 'Manual Entry'"),
                { added }),
            1);
        QCOMPARE(rowIds(g), (QList<qint32> { added, qint32(older) }));
        QCOMPARE(g->textMatrix(1, 1), QStringLiteral("No Answer"));
        QCOMPARE(g->textMatrix(1, 2), QStringLiteral("Manual Entry"));
        QCOMPARE(g->row(), 1);
        QVERIFY(!w->IsFileChanged());
    }

    void aRespondentIdThatWouldNotFitAddsNothing()
    {
        start({ { QTypeOpenEnded, QStringLiteral("Name?") } });
        conn().execute(QStringLiteral("INSERT INTO respondent (id, submitteddate, source) VALUES (2147483647, "
                                      "'2024-01-01 00:00:00', 'Web')"));
        viewDataCollection();
        Dialogs::Script::answer(Dialogs::OK);
        bool entryShown = false;
        QTimer::singleShot(0, qApp, [&entryShown] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                entryShown = modal->objectName() == QLatin1String("frmManualResponse");
                modal->close();
            }
        });
        control<QPushButton>(s, "cmdCreateResponse")->click();
        QCoreApplication::processEvents();
        QVERIFY(!entryShown);
        QVERIFY(Dialogs::Script::lastText().startsWith(
            QStringLiteral("Unable to add a respondent. The survey file has no id left for a new respondent")));
        QCOMPARE(number(conn(), QStringLiteral("SELECT COUNT(*) FROM respondent"), {}), 1);
    }

    void deletingRemovesTheRespondentWithItsAnswersOrNothing()
    {
        start({ { QTypeOpenEnded, QStringLiteral("Name?") } });
        const qint64 older
            = addRespondent(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("Web"), QStringLiteral("A"));
        const qint64 newer
            = addRespondent(QStringLiteral("2024-06-01 00:00:00"), QStringLiteral("Web"), QStringLiteral("B"));
        viewDataCollection();

        // No keeps it.
        Dialogs::Script::answer(Dialogs::No);
        auto* cmdDeleteResponse = control<QPushButton>(s, "cmdDeleteResponse");
        cmdDeleteResponse->click();
        QCOMPARE(Dialogs::Script::lastText(),
            QStringLiteral("Delete Respondent? This will delete all responses provided by this Respondent."));
        QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::YesNo);
        QCOMPARE(g->rows(), 3);

        // A delete that fails half way keeps the answers as well as the respondent.
        conn().execute(
            QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON respondent BEGIN SELECT RAISE(ABORT, 'locked'); END"));
        Dialogs::Script::answer(Dialogs::Yes);
        Dialogs::Script::answer(Dialogs::OK);
        cmdDeleteResponse->click();
        QVERIFY2(Dialogs::Script::lastText().startsWith(QStringLiteral("Unable to delete the respondent. locked")),
            qPrintable(Dialogs::Script::lastText()));
        QCOMPARE(answers(conn(), newer).size(), 1);
        conn().execute(QStringLiteral("DROP TRIGGER keep"));

        Dialogs::Script::answer(Dialogs::Yes);
        cmdDeleteResponse->click();
        QCOMPARE(rowIds(g), QList<qint32> { qint32(older) });
        QVERIFY(answers(conn(), newer).isEmpty());
        QCOMPARE(answers(conn(), older).size(), 1);

        // Deleting the only respondent leaves the header row selected.
        Dialogs::Script::answer(Dialogs::Yes);
        cmdDeleteResponse->click();
        QCOMPARE(g->rows(), 1);
        QCOMPARE(g->row(), 0);
    }

    void aScreenNotOnViewIsRefilledWhenShown()
    {
        start({ { QTypeOpenEnded, QStringLiteral("Name?") } });
        int refills = 0;
        connect(g->model(), &QAbstractItemModel::modelReset, this, [&refills] { ++refills; });
        addRespondent(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("Web"), QStringLiteral("Ann"));

        // Saving the design on the Design screen refills nothing.
        w->MarkFileChanged();
        QVERIFY(w->DoSave());
        QCOMPARE(refills, 0);
        QCOMPARE(g->rows(), 1);

        // Showing the screen refills it once, with what the file holds now.
        viewDataCollection();
        QCOMPARE(refills, 1);
        QCOMPARE(column(g, 1), QStringList { "Ann" });
        QCOMPARE(g->row(), 1);

        // On view, a refill is done at once.
        addRespondent(QStringLiteral("2024-02-01 00:00:00"), QStringLiteral("Web"));
        w->RefreshRespondentList(1, 0);
        QCOMPARE(refills, 2);
        QCOMPARE(g->rows(), 3);
    }

    // The example answers are read as the rows come into view: a row scrolled to shows the answer
    // read as it was drawn, a row never drawn the answer stored when it is asked for.
    void aRowScrolledToShowsTheAnswerReadAsItIsDrawn()
    {
        start({ { QTypeOpenEnded, QStringLiteral("Name?") }, { QTypeOpenEnded, QStringLiteral("City?") } });
        {
            db::Transaction adding(conn());
            for (int i = 0; i < 3000; ++i)
                addRespondent(
                    QStringLiteral("2024-01-01 10:00:00"), QStringLiteral("Web"), QStringLiteral("a%1").arg(i));
            adding.commit();
        }
        viewDataCollection();
        g->scrollToBottom();
        g->viewport()->repaint();
        const int last = g->rows() - 1;
        QVERIFY(g->rowAt(g->viewport()->height() - 1) == last - 1 || g->rowAt(g->viewport()->height() - 1) == -1);
        conn().execute(QStringLiteral("UPDATE Respondent_Responses SET SimpleResponse = 'b' || RespondentID"));
        // The oldest respondent, the first added.
        QCOMPARE(g->textMatrix(last, 1), QStringLiteral("a0"));
        QCOMPARE(g->textMatrix(1500, 1), QStringLiteral("b%1").arg(g->rowData(1500)));

        // Another example question, and this one again: its answers are read anew.
        control<QComboBox>(s, "cboDCExampleQuestion")->setFocus();
        QTest::keyClick(control<QComboBox>(s, "cboDCExampleQuestion"), Qt::Key_Down);
        QCOMPARE(g->textMatrix(last, 1), QStringLiteral("No Answer"));
        QTest::keyClick(control<QComboBox>(s, "cboDCExampleQuestion"), Qt::Key_Up);
        QCOMPARE(control<QComboBox>(s, "cboDCExampleQuestion")->currentIndex(), 0);
        QCOMPARE(g->textMatrix(last, 1), QStringLiteral("b%1").arg(g->rowData(last)));

        // A letter typed in the list searches nothing: it would make the texts of every row.
        g->setRow(5);
        g->setFocus();
        QTest::keyClicks(g, QStringLiteral("M"));
        QCOMPARE(g->row(), 5);
    }

    // Back from answer entry and after a delete only the respondent concerned is read again, and
    // shown selected after an entry; every row's texts are those a full refill gives.
    void theRowsAfterEntryOrDeleteAreThoseOfAFullRefill()
    {
        start({ { QTypeOpenEnded, QStringLiteral("Name?") }, { QTypeOpenEnded, QStringLiteral("City?") } });
        struct Respondent {
            QString date;
            QVariant source;
            QVariant answer;
        };
        const QList<Respondent> respondents = {
            { QStringLiteral("2999-01-01 00:00:00"), QStringLiteral("Web"), QStringLiteral("future") },
            { QStringLiteral("2024-03-01 09:30:15"), QStringLiteral("Manual Entry"), QStringLiteral("") },
            { QStringLiteral("2024-03-01 09:30:15"), QVariant(), QVariant() },
            { QStringLiteral("2024-02-29 23:59:59"), QStringLiteral("Imported"), QStringLiteral("Ann") },
            { QStringLiteral("2024-1-5"), QStringLiteral("Web"), QStringLiteral("odd date") },
            { QString(), QStringLiteral("Web"), QStringLiteral("no date") },
        };
        QList<qint64> ids;
        for (const Respondent& r : respondents)
            ids << addRespondent(r.date, r.source, r.answer);
        viewDataCollection();
        int refills = 0;
        connect(g->model(), &QAbstractItemModel::modelReset, this, [&refills] { ++refills; });
        const auto texts = [this] {
            QStringList all;
            for (int r = 1; r < g->rows(); ++r)
                all << QStringLiteral("%1|%2|%3|%4")
                           .arg(g->rowData(r))
                           .arg(g->textMatrix(r, 0), g->textMatrix(r, 1), g->textMatrix(r, 2));
            return all;
        };
        const auto asARefillShows = [&] {
            const QStringList shown = texts();
            const int selected = g->row();
            const int before = refills;
            w->RefreshRespondentList(selected, 0);
            refills = before;
            return shown == texts() && g->row() == selected;
        };

        struct Step {
            const char* what;
            std::function<void()> command;
            std::function<int()> selectedRow;
            int refills;
        };
        const auto edit = [this](int row, const QString& text) {
            g->setRow(row);
            auto seen = handleNextModal(QStringLiteral("frmManualResponse"), [text](QWidget* d) {
                auto* dialog = static_cast<frmManualResponse*>(d);
                dialog->txtDCSimpleResponse->setPlainText(text);
                dialog->cmdDCAnswersNext->click();
                dialog->cmdDCAnswersCancel->click();
            });
            control<QPushButton>(s, "cmdEditResponse")->click();
            QVERIFY(seen->shown);
        };
        qint32 edited = 0;
        const std::vector<Step> steps = {
            { "added and cancelled: after the future one",
                [this] {
                    auto seen = handleNextModal(
                        QStringLiteral("frmManualResponse"), [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
                    control<QPushButton>(s, "cmdCreateResponse")->click();
                    QVERIFY(seen->shown);
                },
                [this] { return 2; }, 0 },
            { "an answer changed: the row stays and is selected",
                [&] {
                    edited = g->rowData(5);
                    edit(5, QStringLiteral("Zed"));
                },
                [&] { return g->rowData(5) == edited && g->textMatrix(5, 1) == QLatin1String("Zed") ? 5 : -1; }, 0 },
            { "deleted",
                [this] {
                    g->setRow(4);
                    Dialogs::Script::answer(Dialogs::Yes);
                    control<QPushButton>(s, "cmdDeleteResponse")->click();
                },
                [] { return 1; }, 0 },
            { "imported behind the list's back, then one added",
                [&] {
                    addRespondent(
                        QStringLiteral("2024-06-01 00:00:00"), QStringLiteral("Web"), QStringLiteral("imported"));
                    auto seen = handleNextModal(
                        QStringLiteral("frmManualResponse"), [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
                    control<QPushButton>(s, "cmdCreateResponse")->click();
                },
                [] { return 2; }, 1 },
        };
        for (const Step& step : steps) {
            qInfo() << step.what;
            refills = 0;
            step.command();
            QCOMPARE(refills, step.refills);
            QCOMPARE(g->row(), step.selectedRow());
            QVERIFY(asARefillShows());
        }
        QCOMPARE(g->rows(), int(ids.size()) + 3);
        QVERIFY(texts().join(QLatin1Char('\n')).contains(QStringLiteral("|imported|Web")));
    }

    void thePaperQuestionnaireIsWrittenWholeOrNotAtAll()
    {
        start({ { QTypeCheck, QStringLiteral("Fruit?"), { "Apple" } },
            { QTypeMatrix, QStringLiteral("Rate"), { "Food" } } });
        const QString path = folder->file(QStringLiteral("out.rtf"));
        QAction* command = w->action(QStringLiteral("mnuDataCollectionPaperSurvey"));
        QCOMPARE(command->text(), QStringLiteral("Create &Paper Based Survey..."));

        // A cancelled dialog ends the command silently.
        Dialogs::Script::cancelFile();
        command->trigger();
        QCOMPARE(Dialogs::Script::shown().size(), 1);
        const Dialogs::FileRequest request = Dialogs::Script::lastFileRequest();
        QCOMPARE(request.fileName, QStringLiteral("PaperSurvey.rtf"));
        QCOMPARE(request.filter, QStringLiteral("Rich Text Format (*.rtf)|*.rtf"));
        QVERIFY(request.flags & Dialogs::OverwritePrompt);
        QVERIFY(request.flags & Dialogs::PathMustExist);

        Dialogs::Script::fileName(path);
        Dialogs::Script::answer(Dialogs::Yes);
        Shell::clearRecorded();
        command->trigger();
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("View paper based survey now?"));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Question);
        QCOMPARE(Shell::recorded(), QStringList { path });
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray first = file.readAll();
        file.close();
        QVERIFY(rtf::toPlainText(QString::fromLatin1(first)).contains(QStringLiteral("\tApple\t")));

        // A failure on the way leaves the earlier file as it was.
        conn().execute(QStringLiteral("DROP TABLE responsematrix"));
        Dialogs::Script::fileName(path);
        Dialogs::Script::answer(Dialogs::OK);
        command->trigger();
        QVERIFY2(Dialogs::Script::lastText().startsWith(
                     QStringLiteral("Unable to write to file ") + path + QLatin1Char(' ')),
            qPrintable(Dialogs::Script::lastText()));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), first);
        QCOMPARE(folder->files(QStringLiteral("out.rtf*")), QStringList { "out.rtf" });
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void aRespondentIsEnteredReopenedAndDeletedByKeyboard()
    {
        start({ { QTypeOpenEnded, QStringLiteral("Name?") },
            { QTypeCheck, QStringLiteral("Fruit?"), { "Apple", "Banana", "Cherry" } },
            { QTypeRadio, QStringLiteral("Pet?"), { "Cat", "Dog", "Fish" } },
            { QTypeMatrix, QStringLiteral("Rate"), { "Food", "Room" } }, { QTypeText, QStringLiteral("Thanks") } });
        viewDataCollection();

        auto entered = handleNextModal(QStringLiteral("frmManualResponse"), [](QWidget* d) {
            d->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), d);
            // Open-ended: type, then Tab past Previous to Next and press it.
            QTest::keyClicks(d->focusWidget(), QStringLiteral("Ann"));
            key(d, Qt::Key_Tab);
            key(d, Qt::Key_Tab);
            QCOMPARE(d->focusWidget()->objectName(), QStringLiteral("cmdDCAnswersNext"));
            key(d, Qt::Key_Space);
            // Check: Space ticks, Tab moves to the next answer, Enter presses Next.
            key(d, Qt::Key_Space);
            key(d, Qt::Key_Tab);
            key(d, Qt::Key_Tab);
            key(d, Qt::Key_Space);
            key(d, Qt::Key_Return);
            // Radio: Down moves to the next option, Space chooses it.
            key(d, Qt::Key_Down);
            key(d, Qt::Key_Space);
            key(d, Qt::Key_Return);
            // Matrix: arrows move, Space and Enter choose; Tab leaves the grid for the buttons.
            QCOMPARE(d->focusWidget()->objectName(), QStringLiteral("gMatrix"));
            key(d, Qt::Key_Right);
            key(d, Qt::Key_Space);
            key(d, Qt::Key_Down);
            key(d, Qt::Key_Right);
            key(d, Qt::Key_Right);
            key(d, Qt::Key_Return);
            key(d, Qt::Key_Tab);
            key(d, Qt::Key_Tab);
            key(d, Qt::Key_Return);
            // Instruction text: Enter, and the survey is completed.
            Dialogs::Script::answer(Dialogs::OK);
            key(d, Qt::Key_Return);
            QVERIFY(!d->isVisible());
        });
        control<QPushButton>(s, "cmdCreateResponse")->click();
        QVERIFY(entered->shown);
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("Survey completed."));
        const qint32 id = s->CurrentRespondentID;
        QCOMPARE(rowIds(g), QList<qint32> { id });
        QCOMPARE(column(g, 1), QStringList { "Ann" });
        db::Connection& c = conn();
        const auto response = [&c](int q, int r) { return QString::number(responseId(c, q, r)); };
        QCOMPARE(answers(c, id),
            (QStringList { "1|1|Ann|NULL", "2|" + response(2, 1) + "||NULL", "2|" + response(2, 3) + "||NULL",
                "3|" + response(3, 2) + "||NULL", "4|" + response(4, 1) + "||" + QString::number(columnId(c, 2)),
                "4|" + response(4, 2) + "||" + QString::number(columnId(c, 4)) }));

        // View/Edit shows the stored answers again; Esc leaves them as they are.
        auto reopened = handleNextModal(QStringLiteral("frmManualResponse"), [](QWidget* d) {
            auto* dialog = static_cast<frmManualResponse*>(d);
            QCOMPARE(dialog->txtDCSimpleResponse->toPlainText(), QStringLiteral("Ann"));
            dialog->cmdDCAnswersNext->click();
            QVERIFY(dialog->chkDCCheck.at(0)->isChecked());
            QVERIFY(!dialog->chkDCCheck.at(1)->isChecked());
            QVERIFY(dialog->chkDCCheck.at(2)->isChecked());
            dialog->cmdDCAnswersNext->click();
            QVERIFY(dialog->optDCRadio.at(1)->isChecked());
            dialog->cmdDCAnswersNext->click();
            QCOMPARE(dialog->gMatrix->textMatrix(1, 2), QStringLiteral("Yes"));
            QCOMPARE(dialog->gMatrix->textMatrix(2, 4), QStringLiteral("Yes"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        g->setFocus();
        QTest::keyClick(control<QPushButton>(s, "cmdEditResponse"), Qt::Key_Space);
        QVERIFY(reopened->shown);
        QCOMPARE(answers(c, id).size(), 6);

        Dialogs::Script::answer(Dialogs::Yes);
        QTest::keyClick(control<QPushButton>(s, "cmdDeleteResponse"), Qt::Key_Space);
        QCOMPARE(g->rows(), 1);
        QCOMPARE(number(c, QStringLiteral("SELECT COUNT(*) FROM Respondent_Responses")), 0);
        QCOMPARE(number(c, QStringLiteral("SELECT COUNT(*) FROM respondent")), 0);
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<ListTest>(argc, argv);
}

#include "test_list.moc"
