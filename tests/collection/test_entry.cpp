// Answer entry: the pages of every question type, the rows each stores, jumps, Previous, Cancel,
// the answers shown again, and a store that fails.
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "SurveyFixture.h"
#include "collection/frmManualResponse.h"
#include "designer/DesignScreen.h"
#include "document/clsQ.h"
#include "widgets/Dialogs.h"
#include "widgets/FlexGrid.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

using namespace collectiontest;

namespace {

void clickCell(FlexGrid* grid, int row, int col)
{
    const QRect r = grid->visualRect(grid->model()->index(row - 1, col - 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

// What a button shows of its caption: "&&" is one "&", a lone "&" marks the next character as
// the button's Alt key and is not shown (nor is one at the end).
QString shownCaption(const QString& caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && ++i == caption.size())
            break;
        shown += caption.at(i);
    }
    return shown;
}

// A point of a cell's background, clear of its text and of a frame around it, in the viewport.
QPoint cellBackground(const FlexGrid* grid, int row, int col)
{
    return grid->visualRect(grid->model()->index(row - 1, col - 1)).topLeft() + QPoint(5, 3);
}

QStringList matrixRow(const FlexGrid* grid, int row)
{
    QStringList cells;
    for (int c = 1; c < grid->cols(); ++c)
        cells << grid->textMatrix(row, c);
    return cells;
}

} // namespace

class EntryTest : public GuiTest {
    Q_OBJECT

    db::Connection c;
    std::unique_ptr<frmManualResponse> dlg;

    qint64 newRespondent()
    {
        return c.appendRow(
            QStringLiteral("respondent"), { { QStringLiteral("source"), QStringLiteral("Manual Entry") } });
    }

    frmManualResponse* open(qint64 respondent)
    {
        dlg = std::make_unique<frmManualResponse>(c, qint32(respondent));
        dlg->show();
        if (!QTest::qWaitForWindowExposed(dlg.get()))
            qWarning("answer entry not exposed");
        return dlg.get();
    }

    void next() { dlg->cmdDCAnswersNext->click(); }

    // Replaces the survey of kSurvey by one of its own.
    void useSurvey(const QString& name, const QList<Question>& questions)
    {
        c.close();
        SurveyFile::openConnection(c, makeSurvey(*folder, name, questions));
    }

    // A respondent's rows with their ids, which a store that writes them again changes.
    QStringList storedRows(qint64 respondent)
    {
        return rows(c,
            QStringLiteral("SELECT id, QuestionID, ResponseID, SimpleResponse, ResponseMatrixID FROM "
                           "Respondent_Responses WHERE RespondentID = ? ORDER BY id"),
            { respondent });
    }

    // Answers every page of the survey without a jump: Ann; B and D; Cat; Because; Food in the
    // third column, Room in the first.
    void answerAll()
    {
        QTest::keyClicks(dlg->txtDCSimpleResponse, QStringLiteral("Ann"));
        next();
        dlg->chkDCCheck.at(1)->setChecked(true);
        dlg->chkDCCheck.at(3)->setChecked(true);
        next();
        dlg->optDCRadio.at(0)->setChecked(true);
        next();
        QTest::keyClicks(dlg->txtDCSimpleResponse, QStringLiteral("Because"));
        next();
        clickCell(dlg->gMatrix, 1, 3);
        clickCell(dlg->gMatrix, 2, 1);
        next();
        Dialogs::Script::answer(Dialogs::OK);
        next();
    }

private Q_SLOTS:
    void init()
    {
        GuiTest::init();
        SurveyFile::openConnection(c, makeSurvey(*folder, QStringLiteral("s.tvq"), kSurvey));
    }

    void cleanup()
    {
        dlg.reset();
        c.close();
        GuiTest::cleanup();
    }

    void rowsStoredForEachType_data()
    {
        QTest::addColumn<bool>("answered");
        QTest::newRow("untouched") << false;
        QTest::newRow("answered") << true;
    }

    void rowsStoredForEachType()
    {
        QFETCH(bool, answered);
        const qint64 r = newRespondent();
        open(r);
        if (answered) {
            answerAll();
        } else {
            for (int page = 1; page <= 5; ++page)
                next();
            Dialogs::Script::answer(Dialogs::OK);
            next();
        }
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("Survey completed."));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Information);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->CurrentQuestionPos, 1);

        // Open-ended: one row with ResponseID 1, also when empty. Check: one per ticked box in box
        // order. Radio: the chosen option. Matrix: one per chosen cell, column by column; a row
        // never chosen stores nothing. Instruction text: nothing.
        const QString b = QString::number(responseId(c, 2, 2));
        const QString d = QString::number(responseId(c, 2, 4));
        const QString cat = QString::number(responseId(c, 3, 1));
        const QString food = QString::number(responseId(c, 5, 1));
        const QString room = QString::number(responseId(c, 5, 2));
        const QStringList expected = answered ? QStringList { "1|1|Ann|NULL", "2|" + b + "||NULL", "2|" + d + "||NULL",
            "3|" + cat + "||NULL", "4|1|Because|NULL", "5|" + room + "||" + QString::number(columnId(c, 1)),
            "5|" + food + "||" + QString::number(columnId(c, 3)) }
                                              : QStringList { "1|1||NULL", "4|1||NULL" };
        QCOMPARE(answers(c, r), expected);
    }

    void aJumpIsFollowedAndPreviousGoesByPosition()
    {
        open(newRespondent());
        QCOMPARE(dlg->lblDCQuestion->toPlainText(), QStringLiteral("1. Name?"));
        // Previous on the first page neither stores nor moves.
        dlg->cmdDCAnswersPrevious->click();
        QCOMPARE(dlg->CurrentQuestionPos, 1);
        QCOMPARE(number(c, QStringLiteral("SELECT COUNT(*) FROM Respondent_Responses")), 0);

        next();
        next();
        dlg->optDCRadio.at(1)->setChecked(true); // Dog, which jumps to 5
        next();
        QCOMPARE(dlg->CurrentQuestionPos, 5);
        QCOMPARE(dlg->lblDCQuestion->toPlainText(), QStringLiteral("5. Rate"));
        QVERIFY(dlg->gMatrix->isVisible());
        dlg->cmdDCAnswersPrevious->click();
        QCOMPARE(dlg->CurrentQuestionPos, 4);
        QCOMPARE(dlg->lblDCQuestion->toPlainText(), QStringLiteral("4. Why?"));
        // Instruction text carries no number and shows no answer panel.
        next();
        next();
        QCOMPARE(dlg->lblDCQuestion->toPlainText(), QStringLiteral("Thanks"));
        for (QWidget* panel : { dlg->picDCResponseSimple, static_cast<QWidget*>(dlg->picDCResponseCheck),
                 static_cast<QWidget*>(dlg->picDCResponseRadio), dlg->picDCResponseMatrix })
            QVERIFY(!panel->isVisible());
        QVERIFY(dlg->cmdDCAnswersNext->isDefault());
    }

    void storedAnswersAreShownAgainAndSkippedOnesKept()
    {
        const qint64 r = newRespondent();
        open(r);
        answerAll();
        const QStringList before = answers(c, r);

        open(r);
        QCOMPARE(dlg->txtDCSimpleResponse->toPlainText(), QStringLiteral("Ann"));
        next();
        QList<bool> ticked;
        for (const QCheckBox* box : std::as_const(dlg->chkDCCheck))
            ticked << box->isChecked();
        QCOMPARE(ticked, (QList<bool> { false, true, false, true }));
        next();
        QVERIFY(dlg->optDCRadio.at(0)->isChecked());
        dlg->optDCRadio.at(1)->setChecked(true); // Dog now: the jump skips question 4
        next();
        QCOMPARE(dlg->CurrentQuestionPos, 5);
        QCOMPARE(matrixRow(dlg->gMatrix, 1), (QStringList { "", "", "Yes", "", "" }));
        QCOMPARE(matrixRow(dlg->gMatrix, 2), (QStringList { "Yes", "", "", "", "" }));
        dlg->gMatrix->setRow(1);
        dlg->gMatrix->setCol(3);
        QCOMPARE(dlg->gMatrix->cellAlignment(), Qt::Alignment(Qt::AlignHCenter | Qt::AlignVCenter));
        dlg->cmdDCAnswersCancel->click();

        // Question 4's answer stayed; question 3 now holds Dog.
        QStringList expected = before;
        expected.replace(expected.indexOf("3|" + QString::number(responseId(c, 3, 1)) + "||NULL"),
            "3|" + QString::number(responseId(c, 3, 2)) + "||NULL");
        QStringList now = answers(c, r);
        now.sort();
        expected.sort();
        QCOMPARE(now, expected);
    }

    void cancelKeepsWhatWasStored()
    {
        // Cancel on the first page of a new respondent: the respondent stays without answers.
        const qint64 first = newRespondent();
        open(first);
        QTest::keyClicks(dlg->txtDCSimpleResponse, QStringLiteral("lost"));
        QTest::keyClick(dlg.get(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
        QVERIFY(answers(c, first).isEmpty());
        QCOMPARE(number(c, QStringLiteral("SELECT COUNT(*) FROM respondent WHERE id = ?"), { first }), 1);

        // The close box stores nothing more than the pages left with Next.
        const qint64 second = newRespondent();
        open(second);
        QTest::keyClicks(dlg->txtDCSimpleResponse, QStringLiteral("kept"));
        next();
        dlg->chkDCCheck.at(0)->setChecked(true);
        dlg->close();
        QCOMPARE(answers(c, second), QStringList { "1|1|kept|NULL" });
    }

    void matrixCellsAreChosenAndClearedAgain()
    {
        const qint64 r = newRespondent();
        open(r);
        for (int page = 1; page <= 4; ++page)
            next();
        FlexGrid* g = dlg->gMatrix;
        // Rows start with nothing chosen; the captions stand in the fixed column.
        QCOMPARE(matrixRow(g, 1), (QStringList { "", "", "", "", "" }));
        QCOMPARE(g->textMatrix(1, 0), QStringLiteral("Food "));
        QCOMPARE(g->textMatrix(0, 1), QStringLiteral("Strongly Disagree"));
        QCOMPARE(g->rowData(2), responseId(c, 5, 2));
        QCOMPARE(g->colData(5), columnId(c, 5));
        QVERIFY(
            Twips::fromPixelsX(g->fontMetrics().horizontalAdvance(g->textMatrix(0, 1))) + 150 <= g->colWidthTwips(1));
        // Column 1 of the grid is the view's first column; the row captions stand in the header.
        QCOMPARE(g->columnWidth(0), Twips::toPixelsX(g->colWidthTwips(1)));

        clickCell(g, 1, 1);
        clickCell(g, 1, 4);
        QCOMPARE(matrixRow(g, 1), (QStringList { "", "", "", "Yes", "" }));
        clickCell(g, 1, 4); // again: taken back
        QCOMPARE(matrixRow(g, 1), (QStringList { "", "", "", "", "" }));
        // Space and Enter choose the current cell.
        g->setFocus();
        g->setRow(2);
        g->setCol(2);
        QTest::keyClick(g, Qt::Key_Space);
        QCOMPARE(matrixRow(g, 2), (QStringList { "", "Yes", "", "", "" }));
        QTest::keyClick(g, Qt::Key_Right);
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(matrixRow(g, 2), (QStringList { "", "", "Yes", "", "" }));
        QCOMPARE(dlg->CurrentQuestionPos, 5); // Enter in the grid did not press Next
        next();
        QCOMPARE(
            answers(c, r).last(), "5|" + QString::number(responseId(c, 5, 2)) + "||" + QString::number(columnId(c, 3)));
        QCOMPARE(answers(c, r).size(), 3); // two open-ended rows and this one
    }

    void aMatrixWithoutColumnsShowsNoGridAndWritesNothing()
    {
        c.execute(QStringLiteral("INSERT INTO responsematrixgroup (id, name) VALUES (50, 'Empty')"));
        c.execute(QStringLiteral("UPDATE response SET responseMatrixGroupID = 50 WHERE questionid = ?"),
            { questionId(c, 5) });
        const qint64 r = newRespondent();
        c.execute(
            QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID) VALUES (?, ?, ?)"),
            { questionId(c, 5), r, responseId(c, 5, 1) });
        open(r);
        dlg->CurrentQuestionPos = 5;
        QVERIFY(dlg->RespondentAnswers_ShowQuestion());
        QVERIFY(dlg->picDCResponseMatrix->isVisible());
        QVERIFY(!dlg->gMatrix->isVisible());
        // The page has nothing to change: the row stored before stays as it was.
        const QStringList before = answers(c, r);
        next();
        QCOMPARE(answers(c, r), before);
    }

    void aFailedStoreChangesNothingAndStaysOnThePage()
    {
        const qint64 r = newRespondent();
        open(r);
        QTest::keyClicks(dlg->txtDCSimpleResponse, QStringLiteral("first"));
        next();
        dlg->cmdDCAnswersPrevious->click();
        c.execute(QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON Respondent_Responses "
                                 "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"));
        dlg->txtDCSimpleResponse->setPlainText(QStringLiteral("second"));
        Dialogs::Script::answer(Dialogs::OK);
        next();
        QVERIFY2(Dialogs::Script::lastText().startsWith(
                     QStringLiteral("Unable to store the answers. database or disk is full")),
            qPrintable(Dialogs::Script::lastText()));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QCOMPARE(dlg->CurrentQuestionPos, 1);
        QCOMPARE(dlg->txtDCSimpleResponse->toPlainText(), QStringLiteral("second"));
        QCOMPARE(answers(c, r), QStringList { "1|1|first|NULL" });
    }

    void aLongAnswerListScrollsToTheFocusedAnswer()
    {
        QStringList many;
        for (int i = 1; i <= 30; ++i)
            many << QStringLiteral("Answer %1").arg(i);
        c.close();
        SurveyFile::openConnection(c,
            makeSurvey(*folder, QStringLiteral("long.tvq"),
                { { QTypeCheck, QStringLiteral("Many?"), many }, { QTypeRadio, QStringLiteral("One?"), many } }));
        open(newRespondent());
        QCOMPARE(dlg->chkDCCheck.size(), 30);
        QCOMPARE(QApplication::focusWidget(), dlg->chkDCCheck.first());
        for (int i = 1; i < 30; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCheckBox* last = dlg->chkDCCheck.last();
        QCOMPARE(QApplication::focusWidget(), last);
        QVERIFY(!last->visibleRegion().isEmpty());
        QTest::keyClick(last, Qt::Key_Space);
        QVERIFY(last->isChecked());
        QTest::keyClick(last, Qt::Key_Return); // Next is the default button

        // The radio page: Space chooses the focused option, Down then moves the choice along.
        QCOMPARE(dlg->optDCRadio.size(), 30);
        QCOMPARE(QApplication::focusWidget(), dlg->optDCRadio.first());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        for (int i = 1; i < 30; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(dlg->optDCRadio.last()->isChecked());
        QVERIFY(!dlg->optDCRadio.last()->visibleRegion().isEmpty());
    }

    void theWholeQuestionIsShown_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QString words;
        while (words.size() < 487)
            words += QStringLiteral("How often do you eat out? ");
        words.truncate(487);
        const QString sixLines = QStringLiteral("Fish & Chips or R&D?\nSecond line\nThird line\nFourth line\n"
                                                "Fifth line\nSixth line, the last");
        const QString word(487, QLatin1Char('w'));
        QString huge;
        while (huge.size() < DesignScreen::kEditLength + 10)
            huge += QStringLiteral("abcd ");
        QTest::newRow("487 characters") << words << QStringLiteral("2. ") + words;
        QTest::newRow("six lines") << sixLines << QStringLiteral("2. ") + sixLines;
        QTest::newRow("a word wider than the line") << word << QStringLiteral("2. ") + word;
        QTest::newRow("longer than the editor takes")
            << huge << QStringLiteral("2. ") + huge.left(DesignScreen::kEditLength) + QChar(0x2026);
    }

    void theWholeQuestionIsShown()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        useSurvey(
            QStringLiteral("long.tvq"), { { QTypeOpenEnded, QStringLiteral("Name?") }, { QTypeOpenEnded, text } });
        open(newRespondent());
        const QRect question = dlg->lblDCQuestion->geometry();
        const QRect answer = dlg->picDCResponseSimple->geometry();
        next();
        QPlainTextEdit* view = dlg->lblDCQuestion;
        QCOMPARE(view->toPlainText(), shown);

        // The question keeps its room above the answer, which stays where it was.
        QCOMPARE(view->geometry(), question);
        QCOMPARE(dlg->picDCResponseSimple->geometry(), answer);
        QVERIFY(question.bottom() < answer.top());
        // Every line fits the width; the lines that do not fit the height scroll into view.
        const int width = view->viewport()->width();
        for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
            for (int i = 0; i < block.layout()->lineCount(); ++i)
                QVERIFY(block.layout()->lineAt(i).naturalTextWidth() <= width);
        }
        QScrollBar* bar = view->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        QTextCursor end(view->document());
        end.movePosition(QTextCursor::End);
        QVERIFY(view->viewport()->rect().contains(view->cursorRect(end)));
    }

    void ampersandsShowAsTyped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("between words") << QStringLiteral("Fish & Chips or R&D?");
        QTest::newRow("answer") << QStringLiteral("Salt & Pepper");
        QTest::newRow("before a button's key") << QStringLiteral("&Next");
        QTest::newRow("doubled") << QStringLiteral("R&&D");
        QTest::newRow("at the end") << QStringLiteral("Rock &");
    }

    void ampersandsShowAsTyped()
    {
        QFETCH(QString, text);
        useSurvey(QStringLiteral("amp.tvq"),
            { { QTypeRadio, text, { text, QStringLiteral("Other") } }, { QTypeCheck, text, { text } } });
        open(newRespondent());
        QCOMPARE(dlg->lblDCQuestion->toPlainText(), QStringLiteral("1. ") + text);
        for (int page = 1; page <= 2; ++page) {
            QAbstractButton* button
                = page == 1 ? static_cast<QAbstractButton*>(dlg->optDCRadio.first()) : dlg->chkDCCheck.first();
            QCOMPARE(shownCaption(button->text()), text);
            QVERIFY(QKeySequence::mnemonic(button->text()).isEmpty());
            QCOMPARE(button->accessibleName(), text);
            if (page == 1)
                next();
        }
    }

    void anAnswersAmpersandTakesNoAltKey()
    {
        useSurvey(QStringLiteral("alt.tvq"),
            { { QTypeRadio, QStringLiteral("Shop?"), { QStringLiteral("Barnes&Noble"), QStringLiteral("R&D") } },
                { QTypeOpenEnded, QStringLiteral("Why?") } });
        open(newRespondent());
        QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
        // A button chosen by its Alt key is clicked a moment later, as if pressed.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
        QTest::qWait(300);
        QVERIFY(!dlg->optDCRadio.at(1)->isChecked());
        // Alt+N is Next's alone.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(dlg->CurrentQuestionPos, 2);
    }

    void anOpenAnswerKeepsItsLineEnds_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed"); // at the end of the answer: \n is Enter, \b Backspace
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* stored, const char* typed, const char* expected) {
            QTest::newRow(name) << QString::fromLatin1(stored) << QString::fromLatin1(typed)
                                << QString::fromLatin1(expected);
        };
        row("CR LF, viewed", "line one\r\nline two", "", "line one\r\nline two");
        row("LF, viewed", "line one\nline two", "", "line one\nline two");
        row("typed and taken back", "line one\r\nline two", "x\b", "line one\r\nline two");
        row("a line typed", "line one", "\nline two", "line one\r\nline two");
        row("CR LF, added to", "line one\r\nline two", "!", "line one\r\nline two!");
    }

    void anOpenAnswerKeepsItsLineEnds()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        const qint64 r = newRespondent();
        c.execute(QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
                                 "SimpleResponse) VALUES (?, ?, 1, ?)"),
            { questionId(c, 1), r, stored });
        const QStringList before = storedRows(r);
        open(r);
        dlg->txtDCSimpleResponse->moveCursor(QTextCursor::End);
        for (const QChar key : typed) {
            if (key == QLatin1Char('\n'))
                QTest::keyClick(dlg->txtDCSimpleResponse, Qt::Key_Return);
            else if (key == QLatin1Char('\b'))
                QTest::keyClick(dlg->txtDCSimpleResponse, Qt::Key_Backspace);
            else
                QTest::keyClicks(dlg->txtDCSimpleResponse, QString(key));
        }
        next();
        if (expected == stored)
            QCOMPARE(storedRows(r), before); // not written at all: the row keeps its id
        else
            QCOMPARE(answers(c, r), QStringList { "1|1|" + expected + "|NULL" });
    }

    void viewingARespondentWritesNothing()
    {
        const qint64 r = newRespondent();
        open(r);
        answerAll();
        // Pages left as they were shown, every kind of page: no row is written again.
        QStringList before = storedRows(r);
        open(r);
        for (int page = 1; page <= 5; ++page)
            next();
        Dialogs::Script::answer(Dialogs::OK);
        next();
        QCOMPARE(storedRows(r), before);

        // A stored answer whose response jumps still leads there when the page is left as shown.
        open(r);
        next();
        next();
        dlg->optDCRadio.at(1)->setChecked(true); // Dog, which jumps to 5
        next();
        dlg->cmdDCAnswersCancel->click();
        before = storedRows(r);
        open(r);
        next();
        next();
        QVERIFY(dlg->optDCRadio.at(1)->isChecked());
        next();
        QCOMPARE(dlg->CurrentQuestionPos, 5);
        QCOMPARE(storedRows(r), before);
    }

    void theMatrixShowsOnlyChosenCellsAsChosen()
    {
        open(newRespondent());
        QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
        for (int page = 1; page <= 4; ++page)
            next();
        FlexGrid* g = dlg->gMatrix;
        QCOMPARE(QApplication::focusWidget(), g);
        QCOMPARE(g->row(), 1);
        QCOMPARE(g->col(), 1);
        clickCell(g, 2, 3);
        g->setRow(1);
        g->setCol(1);

        // The current cell looks as every other cell without "Yes", inside its focus frame.
        const QImage image = g->viewport()->grab().toImage();
        const QColor empty = image.pixelColor(cellBackground(g, 2, 2));
        QCOMPARE(image.pixelColor(cellBackground(g, 1, 1)), empty);
        QCOMPARE(image.pixelColor(cellBackground(g, 2, 3)), empty); // chosen, by its "Yes"
        QCOMPARE(g->textMatrix(2, 3), QStringLiteral("Yes"));
        const QRect current = g->visualRect(g->model()->index(0, 0));
        QCOMPARE(image.pixelColor(QPoint(current.left() + 1, current.center().y())),
            g->palette().color(QPalette::Active, QPalette::Highlight));
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<EntryTest>(argc, argv);
}

#include "test_entry.moc"
