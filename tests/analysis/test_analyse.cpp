// The Analyse screen on the real main window: the summary and its totals, the chart in its
// twelve styles, the Analyze commands, File > Export, page setup and printing.
#include "Controls.h"
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "SampleSurvey.h"
#include "StartProgram.h"
#include "analysis/AnalyseScreen.h"
#include "analysis/Printing.h"
#include "analysis/SurveyChart.h"
#include "platform/Shell.h"
#include "shell/frmMain.h"
#include "widgets/Dialogs.h"
#include "widgets/LongWork.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedLayout>
#include <QStyle>
#include <QTableWidget>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QtTest>

#include <functional>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A radio question of five colours after the sample's questions, chosen by 16 respondents: Red 1,
// Green 3, Blue 8, Yellow 4, Purple 0. Its question row is grid row 18, Red is row 19.
void addColours(SampleSurvey& s)
{
    const qint64 q = s.w.question(2, QStringLiteral("5"), QStringLiteral("Which colour do you like best?"),
        { QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue"), QStringLiteral("Yellow"),
            QStringLiteral("Purple") });
    QList<qint64> respondents { s.manual, s.web, s.imported, s.paper };
    while (respondents.size() < 16)
        respondents << s.w.respondent(QStringLiteral("Web"), QStringLiteral("2024-05-01 10:00:00"));
    const int chosen[] = { 1, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4 };
    for (int i = 0; i < 16; ++i)
        s.w.answer(respondents.at(i), q, s.w.response(q, chosen[i]));
}

// The pixels of the picture in the rectangle that are dark enough to be text.
int darkPixels(const QImage& picture, const QRect& area)
{
    int dark = 0;
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            dark += qGray(picture.pixel(x, y)) < 110 ? 1 : 0;
    return dark;
}

} // namespace

class AnalyseTest : public GuiTest {
    Q_OBJECT

private:
    std::unique_ptr<SampleSurvey> sample;
    AnalyseScreen* a = nullptr;

    void start(const std::function<void(SampleSurvey&)>& more = {})
    {
        const QString file = folder->newSurvey(QStringLiteral("sample.tvq"));
        sample = std::make_unique<SampleSurvey>(file);
        if (more)
            more(*sample);
        sample->w.connection.close();
        TestProgram::start(file);
        if (w)
            a = w->analyse();
    }

    void showAnalyse()
    {
        w->action(QStringLiteral("mnuViewAnalyse"))->trigger();
        QVERIFY(!a->isHidden());
    }

    // Grid row `row` (from 1) made current, as a click does, and the chart drawn.
    void clickRow(int row)
    {
        auto* gSummaryReport = control<QTableWidget>(a, "gSummaryReport");
        const QModelIndex index = gSummaryReport->model()->index(row - 1, 1);
        gSummaryReport->scrollTo(index);
        QTest::mouseClick(gSummaryReport->viewport(), Qt::LeftButton, {}, gSummaryReport->visualRect(index).center());
        QCOMPARE(gSummaryReport->currentRow(), row - 1);
    }

    QString rowText(int row) const { return control<QTableWidget>(a, "gSummaryReport")->item(row - 1, 1)->text(); }

private Q_SLOTS:
    void cleanup()
    {
        a = nullptr;
        sample.reset();
        GuiTest::cleanup();
    }

    void summaryWaitsUntilTheScreenIsShown()
    {
        start();
        // Opening the survey on the Design screen leaves the summary as start-up made it.
        auto* gSummaryReport = control<QTableWidget>(a, "gSummaryReport");
        QCOMPARE(gSummaryReport->rowCount(), 0);
        auto* lblTotalRespondents = control<QLabel>(a, "lblTotalRespondents");
        QCOMPARE(lblTotalRespondents->text(), QStringLiteral("0"));

        showAnalyse();
        QCOMPARE(lblTotalRespondents->text(), QStringLiteral("4"));
        QCOMPARE(control<QLabel>(a, "lblTotalManualEntry")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLabel>(a, "lblTotalWebBased")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLabel>(a, "lblTotalImported")->text(), QStringLiteral("1"));
        QCOMPARE(gSummaryReport->rowCount(), 17);
        QCOMPARE(a->SummaryRowCount, 17);
        QCOMPARE(a->SummaryRowMatrixResponseIDs.size(), 17);
        QCOMPARE(gSummaryReport->item(0, 0)->text(), QStringLiteral("n/a"));
        QCOMPARE(rowText(3), QStringLiteral("     Apple"));
        QCOMPARE(gSummaryReport->item(2, 0)->text(), QStringLiteral("25%"));
        QCOMPARE(int(gSummaryReport->item(2, 0)->textAlignment()), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(a->rowData(3), qint32(sample->apple));
        QCOMPARE(a->rowData(1), -1);
        QCOMPARE(a->rowData(12), qint32(sample->taste));
        QCOMPARE(a->SummaryRowMatrixResponseIDs.at(11), int(sample->taste));
        // The first row is selected, both its cells.
        QCOMPARE(gSummaryReport->currentRow(), 0);
        QCOMPARE(gSummaryReport->selectedItems().size(), 2);

        // A respondent added since shows at the next Summary Report.
        sample->w.connection.open(w->session().CurrentFile);
        sample->w.respondent(QStringLiteral("Web"), QStringLiteral("2024-04-01 08:00:00"));
        sample->w.connection.close();
        w->action(QStringLiteral("mnuAnalyseSummary"))->trigger();
        QCOMPARE(lblTotalRespondents->text(), QStringLiteral("5"));
        QCOMPARE(control<QLabel>(a, "lblTotalWebBased")->text(), QStringLiteral("2"));
        QCOMPARE(gSummaryReport->item(2, 0)->text(), QStringLiteral("20%"));
    }

    // A question row shows the whole text on one line; its tooltip shows it with its line breaks,
    // wrapped, and the question's own markup as typed.
    void summaryRowsShowWholeQuestions()
    {
        QString long487;
        while (long487.size() < 487)
            long487 += QStringLiteral("Fish & Chips or R&D? ");
        long487.truncate(487);
        const QString texts[]
            = { QStringLiteral("Line one\r\nLine two"), long487, QStringLiteral("Is 3 < 4 or <b>5</b> & more?") };
        start([&](SampleSurvey& s) {
            for (const QString& text : texts)
                s.w.question(0, QStringLiteral("9"), text);
        });
        showAnalyse();
        for (int i = 0; i < 3; ++i) {
            const QString whole = QStringLiteral("9. ") + texts[i];
            QTableWidgetItem* row = control<QTableWidget>(a, "gSummaryReport")->item(17 + i, 1);
            QCOMPARE(row->text(), QString(whole).replace(QLatin1String("\r\n"), QLatin1String(" ")));
            for (QTableWidgetItem* cell : { row, control<QTableWidget>(a, "gSummaryReport")->item(17 + i, 0) }) {
                QVERIFY(Qt::mightBeRichText(cell->toolTip()));
                QCOMPARE(QTextDocumentFragment::fromHtml(cell->toolTip()).toPlainText(),
                    QString(whole).replace(QLatin1String("\r\n"), QLatin1String("\n")));
            }
        }
    }

    // The share column shows "100.0%" whole in the grid's font, in the locale's digits and decimal
    // separator, and is never narrower than 600 twips.
    void shareColumnFitsTheWidestShare()
    {
        const QLocale locales[] = { QLocale(QLocale::English, QLocale::UnitedStates),
            QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Arabic, QLocale::Egypt) };
        for (const QLocale& locale : locales) {
            QLocale::setDefault(locale);
            start();
            QLocale::setDefault(QLocale::system());
            showAnalyse();
            const QString widest = locale.toString(100.0, 'f', 1) + QLatin1Char('%');
            QTableWidget* g = control<QTableWidget>(a, "gSummaryReport");
            const int margin = g->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, g) + 1;
            const int room = g->columnWidth(0) - 1 - 2 * margin;
            QVERIFY2(QFontMetrics(g->font()).horizontalAdvance(widest) <= room,
                qPrintable(locale.name() + QLatin1Char(' ') + widest));
            QVERIFY(g->columnWidth(0) >= Twips::toPixelsX(600));
            QString unexpected = stopProgram(w);
            QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected));
            sample.reset();
        }
    }

    // The Expand Graph button stands over the chart's lower right corner: no label of the chart
    // lies under it, in the normal and the enlarged layout, in any style (of the 3D styles,
    // drawn by hand, nothing at all is drawn there).
    void chartLeavesTheExpandButtonClear()
    {
        start(addColours);
        showAnalyse();
        clickRow(19);
        QCOMPARE(rowText(18), QStringLiteral("5. Which colour do you like best?"));
        auto* cboGraphStyle = control<QComboBox>(a, "cboGraphStyle");
        auto* c = control<SurveyChart>(a, "c");
        for (const bool expanded : { false, true }) {
            if (expanded)
                control<QPushButton>(a, "cmdExpand")->click();
            for (int position = 0; position < cboGraphStyle->count(); ++position) {
                cboGraphStyle->setCurrentIndex(position);
                QApplication::processEvents();
                const QString style = cboGraphStyle->currentText() + (expanded ? " enlarged" : " normal");
                const QRect button = control<QPushButton>(a, "cmdExpand")->geometry().translated(-c->pos()) & c->rect();
                QVERIFY(!button.isEmpty());
                if (SurveyChart::is3D(c->chartType())) {
                    const QImage picture = c->grab().toImage();
                    for (int y = button.top(); y <= button.bottom(); ++y)
                        for (int x = button.left(); x <= button.right(); ++x)
                            QVERIFY2(picture.pixel(x, y) == qRgb(255, 255, 255), qPrintable(style));
                    continue;
                }
                auto* view = c->findChild<QChartView*>(QStringLiteral("Chart2D"));
                int labels = 0;
                for (const QGraphicsItem* item : view->scene()->items()) {
                    if (!qgraphicsitem_cast<const QGraphicsTextItem*>(item) || !item->isVisible())
                        continue;
                    const QRect label = view->mapFromScene(item->sceneBoundingRect()).boundingRect();
                    QVERIFY2(!label.translated(view->pos()).intersects(button), qPrintable(style));
                    ++labels;
                }
                QVERIFY(labels >= 5);
            }
        }
    }

    // Qt Charts reads its labels as rich text: answers show as typed, on the axis, the slices and
    // the legend.
    void chartLabelsShowAnswersAsTyped()
    {
        const QStringList names { QStringLiteral("R&D <30"), QStringLiteral("S &amp; P"), QStringLiteral("<b>Red</b>"),
            QStringLiteral("Fish & Chips") };
        start([&](SampleSurvey& s) { s.w.question(2, QStringLiteral("5"), QStringLiteral("Which?"), names); });
        showAnalyse();
        clickRow(19);
        const struct {
            int position;
            QString suffix; // after the name in each label
        } styles[] = { { 1, QString() }, { 10, QStringLiteral(": 0") } };
        for (const auto& style : styles) {
            control<QComboBox>(a, "cboGraphStyle")->setCurrentIndex(style.position);
            QApplication::processEvents();
            QStringList shown;
            const auto* view = control<SurveyChart>(a, "c")->findChild<QChartView*>(QStringLiteral("Chart2D"));
            for (const QGraphicsItem* item : view->scene()->items()) {
                if (const auto* text = qgraphicsitem_cast<const QGraphicsTextItem*>(item))
                    shown << text->toPlainText();
            }
            for (const QString& name : names)
                QVERIFY2(
                    shown.contains(name + style.suffix), qPrintable(name + QStringLiteral(" in ") + shown.join(u'|')));
        }
    }

    // Every style that writes counts over its bodies writes the 0 of an answer nobody chose.
    void twoDimensionalChartsWriteEveryCount()
    {
        start(addColours);
        showAnalyse();
        clickRow(19);
        auto* c = control<SurveyChart>(a, "c");
        QCOMPARE(c->data().at(4).value, 0.0);
        const struct {
            int position;
            double x; // where Purple stands on the category axis
        } styles[] = { { 1, 4 }, { 3, 4 }, { 5, 4 }, { 7, 4 }, { 9, 4 }, { 11, 5 } };
        for (const auto& style : styles) {
            control<QComboBox>(a, "cboGraphStyle")->setCurrentIndex(style.position);
            QApplication::processEvents();
            auto* view = c->findChild<QChartView*>(QStringLiteral("Chart2D"));
            QChart* chart = view->chart();
            const QPointF floor = chart->mapToPosition(QPointF(style.x, 0), chart->series().constFirst());
            const QPoint at = view->mapTo(c, view->mapFromScene(chart->mapToScene(floor)));
            const QImage picture = c->grab().toImage();
            // Just above the floor at Purple's place: the "0".
            QVERIFY2(darkPixels(picture, QRect(at.x() - 8, at.y() - 22, 17, 19)) > 3,
                qPrintable(control<QComboBox>(a, "cboGraphStyle")->currentText()));
        }
    }

    void chartFollowsTheSelectedRow()
    {
        start();
        showAnalyse();
        auto* c = control<SurveyChart>(a, "c");
        QVERIFY(c->isHidden());

        clickRow(4); // Banana: every answer of the fruit question
        QVERIFY(!c->isHidden());
        QVERIFY(!control<QPushButton>(a, "cmdExpand")->isHidden());
        QCOMPARE(c->data().size(), 3);
        QCOMPARE(c->data().at(0).label, QStringLiteral(" Apple"));
        QCOMPARE(c->data().at(1).value, 1.0);

        clickRow(16); // Fair under Price: the columns of the Price row
        QCOMPARE(rowText(16), QStringLiteral("          Fair"));
        QCOMPARE(c->data().size(), 3);
        QCOMPARE(c->data().at(2).label, QStringLiteral(" Poor"));
        QCOMPARE(c->data().at(2).value, 1.0);

        clickRow(2); // a question row
        QVERIFY(c->isHidden());
        QVERIFY(control<QPushButton>(a, "cmdExpand")->isHidden());

        // A key draws the chart of the row that is current before the grid moves.
        auto* gSummaryReport = control<QTableWidget>(a, "gSummaryReport");
        QTest::keyClick(gSummaryReport, Qt::Key_Down);
        QCOMPARE(gSummaryReport->currentRow(), 2);
        QVERIFY(c->isHidden());
        QTest::keyClick(gSummaryReport, Qt::Key_Down);
        QVERIFY(!c->isHidden());
    }

    void twelveStylesDrawTwelveDifferentCharts()
    {
        // Counts of 7, 3 and 5 from 13 respondents, so the pictures show a shape.
        start([](SampleSurvey& s) {
            for (int i = 0; i < 9; ++i) {
                const qint64 r = s.w.respondent(QStringLiteral("Web"), QStringLiteral("2024-05-01 10:00:00"));
                if (i < 6)
                    s.w.answer(r, s.check, s.apple);
                if (i < 2)
                    s.w.answer(r, s.check, s.banana);
                if (i < 4)
                    s.w.answer(r, s.check, s.cherry);
            }
        });
        showAnalyse();
        clickRow(3);
        const QString out = QStringLiteral(TESSIVO_CHART_DIR);
        QDir().mkpath(out);
        const int expected[] = { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 16 };
        QSet<QByteArray> pictures;
        auto* cboGraphStyle = control<QComboBox>(a, "cboGraphStyle");
        auto* c = control<SurveyChart>(a, "c");
        for (int position = 0; position < cboGraphStyle->count(); ++position) {
            cboGraphStyle->setCurrentIndex(position);
            QCOMPARE(c->chartType(), expected[position]);
            const auto* stack = c->findChild<QStackedLayout*>();
            QCOMPARE(stack->currentWidget()->objectName(),
                SurveyChart::is3D(expected[position]) ? QStringLiteral("Chart3D") : QStringLiteral("Chart2D"));

            c->resize(640, 400);
            const QImage picture = c->grab().toImage();
            QVERIFY(!picture.isNull());
            const QString name = cboGraphStyle->itemText(position).replace(QLatin1Char(' '), QLatin1Char('_'));
            QVERIFY(picture.save(QDir(out).filePath(
                QStringLiteral("chart_%1_%2.png").arg(position, 2, 10, QLatin1Char('0')).arg(name))));

            // Not a blank picture: many colours, not one background.
            QSet<QRgb> colours;
            for (int y = 0; y < picture.height(); y += 4)
                for (int x = 0; x < picture.width(); x += 4)
                    colours.insert(picture.pixel(x, y));
            QVERIFY2(colours.size() > 8, qPrintable(name));
            const QByteArray bytes(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
            pictures.insert(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1));
        }
        QCOMPARE(pictures.size(), 12);
    }

    void expandAndShrinkMoveTheChart()
    {
        start();
        showAnalyse();
        clickRow(3);
        auto* cmdExpand = control<QPushButton>(a, "cmdExpand");
        cmdExpand->click();
        QCOMPARE(cmdExpand->text(), QStringLiteral("Shrink Graph"));
        auto* c = control<SurveyChart>(a, "c");
        QCOMPARE(c->pos(), QPoint(Twips::toPixelsX(50), 0));
        const int W = Twips::fromPixelsX(w->frameGeometry().width());
        QCOMPARE(c->width(), Twips::toPixelsX(W - 50));

        cmdExpand->click();
        QCOMPARE(cmdExpand->text(), QStringLiteral("Expand Graph"));
        QCOMPARE(c->pos(), QPoint(Twips::toPixelsX(3150), Twips::toPixelsY(2430)));
        // The grid stands in front of the chart, the button in front of the chart.
        const QObjectList order = control<QWidget>(a, "picSummaryReport")->children();
        QVERIFY(order.indexOf(control<QTableWidget>(a, "gSummaryReport")) > order.indexOf(c));
        QVERIFY(order.indexOf(cmdExpand) > order.indexOf(c));
    }

    void detailedReportIsWrittenAndOfferedForViewing()
    {
        start();
        const QString file = folder->file(QStringLiteral("DetailReport.rtf"));
        Dialogs::Script::fileName(file);
        Dialogs::Script::answer(Dialogs::Yes);
        w->action(QStringLiteral("mnuAnalyseDetail"))->trigger();
        QCOMPARE(Dialogs::Script::lastFileRequest().fileName, QStringLiteral("DetailReport.rtf"));
        QCOMPARE(Dialogs::Script::lastFileRequest().filter, QStringLiteral("Rich Text Format (*.rtf)|*.rtf"));
        QCOMPARE(Dialogs::Script::lastFileRequest().flags, Dialogs::OverwritePrompt | Dialogs::PathMustExist);
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("View detailed report now?"));
        QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::YesNo);
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Question);
        QCOMPARE(Shell::recorded(), QStringList { file });
        QVERIFY(bytesOf(file).startsWith("{\\rtf1"));

        // No: written but not opened. A cancelled dialog: nothing at all.
        Shell::clearRecorded();
        Dialogs::Script::fileName(file);
        Dialogs::Script::answer(Dialogs::No);
        w->mnuAnalyseDetail_Click();
        QVERIFY(Shell::recorded().isEmpty());
        Dialogs::Script::cancelFile();
        w->mnuAnalyseDetail_Click();
        QCOMPARE(Dialogs::Script::pending(), 0);
    }

    void cancelledReportAndExportLeaveTheFilesAsTheyWere()
    {
        start();
        for (const auto& [name, command] : { std::pair { "DetailReport.rtf", &frmMain::mnuAnalyseDetail_Click },
                 std::pair { "SurveyExport.csv", &frmMain::mnuFileExport_Click } }) {
            const QString file = folder->file(QString::fromLatin1(name));
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("as it was");
            f.close();
            Dialogs::Script::fileName(file);
            LongWork::cancelNextAfter(1);
            ((*w).*command)();
            QCOMPARE(bytesOf(file), QByteArray("as it was"));
        }
        // No question to view the report, no message.
        QCOMPARE(Dialogs::Script::shown().size(), 2);
    }

    void exportWritesTheFileAndReportsFailures()
    {
        start();
        const QString file = folder->file(QStringLiteral("SurveyExport.csv"));
        Dialogs::Script::fileName(file);
        w->action(QStringLiteral("mnuFileExport"))->trigger();
        QCOMPARE(Dialogs::Script::lastFileRequest().fileName, QStringLiteral("SurveyExport.csv"));
        QCOMPARE(Dialogs::Script::lastFileRequest().filter, QStringLiteral("Comma Seperated Values (*.csv)|*.csv"));
        QVERIFY(bytesOf(file).startsWith("\"Imported\","));
        QCOMPARE(bytesOf(file).count("\r\n"), 5); // four records, one answer of two lines
        QCOMPARE(frmMain::QuoteMe(QStringLiteral("a \"b\", c")), QStringLiteral("\"a \"\"b\"\", c\""));

        const QString nowhere = folder->file(QStringLiteral("missing/SurveyExport.csv"));
        Dialogs::Script::fileName(nowhere);
        Dialogs::Script::answer(Dialogs::OK);
        w->mnuFileExport_Click();
        QVERIFY(Dialogs::Script::lastText().startsWith(QStringLiteral("Unable to write to file ") + nowhere + " "));
        QVERIFY(Dialogs::Script::lastText().endsWith(QStringLiteral(" 75 Tessivo")));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QVERIFY(!QFile::exists(nowhere));
    }

    void totalRespondentsTellsTheCount()
    {
        start();
        Dialogs::Script::answer(Dialogs::OK);
        w->action(QStringLiteral("mnuAnalyseTotRespondents"))->trigger();
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("4 respondents have completed this survey."));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Information);
        QCOMPARE(Dialogs::Script::lastTitle(), Dialogs::appTitle());
    }

    void printPutsTheWindowsPictureOnOnePage()
    {
        start();
        const QString pdf = folder->file(QStringLiteral("print.pdf"));
        QPrinter& printer = Printing::currentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);

        // Cancel: nothing printed, the clipboard as it was.
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        Dialogs::Script::printerDialog(false);
        w->action(QStringLiteral("mnuFilePrint"))->trigger();
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));

        // The window settles its size first.
        QTest::qWait(50);
        const QSize windowSize = w->grab().size();
        Dialogs::Script::printerDialog(true);
        w->DoPrint();
        const QImage snapshot = QApplication::clipboard()->image();
        QCOMPARE(snapshot.size(), windowSize);
        const QByteArray bytes = bytesOf(pdf);
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
        const QRegularExpression image(QStringLiteral("/Subtype /Image\\s*/Width (\\d+)\\s*/Height (\\d+)"));
        const QRegularExpressionMatch m = image.match(QString::fromLatin1(bytes));
        QVERIFY2(m.hasMatch(), "no picture on the page");
        QCOMPARE(m.captured(1).toInt(), snapshot.width());
        QCOMPARE(m.captured(2).toInt(), snapshot.height());
    }

    void pageSetupWithoutPrinterShowsNothing()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("a printer is installed on this machine");
        start();
        w->action(QStringLiteral("mnuFilePageSetup"))->trigger();
        QVERIFY(Dialogs::Script::shown().isEmpty());
    }

    void pageSetupKeepsThePrinterWhoseNameIsNotInstalled()
    {
        QPrinter current(QPrinter::HighResolution);
        current.setOutputFormat(QPrinter::PdfFormat);
        const QString before = current.printerName();
        Printing::applyPageSetup(current,
            { QStringLiteral("No Such Printer"), QPageSize(QPageSize::A5), QPrinter::Manual, QPageLayout::Landscape },
            { QStringLiteral("Office"), QStringLiteral("No Such Printer 2") });
        QCOMPARE(current.printerName(), before);
        QCOMPARE(current.pageLayout().pageSize().id(), QPageSize::A5);
        QCOMPARE(current.pageLayout().orientation(), QPageLayout::Landscape);
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<AnalyseTest>(argc, argv);
}

#include "test_analyse.moc"
