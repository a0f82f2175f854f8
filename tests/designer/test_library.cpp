// The question library, the Edit commands and the question editor's rich text.
#include "DesignerTest.h"

#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

using namespace designertest;

namespace {

struct Span {
    QString text;
    bool bold, italic, underline;
    QString family;
    double size;
    QColor colour;
    bool operator==(const Span&) const = default;
};

QList<Span> spans(const QTextDocument& doc)
{
    QList<Span> list;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat c = f.charFormat();
            const QStringList families = c.fontFamilies().toStringList();
            list << Span { f.text(), c.fontWeight() > QFont::Normal, c.fontItalic(), c.fontUnderline(),
                families.isEmpty() ? doc.defaultFont().family() : families.first(),
                c.fontPointSize() > 0 ? c.fontPointSize() : doc.defaultFont().pointSizeF(), c.foreground().color() };
        }
        list << Span { QStringLiteral("<par>"), false, false, false, QString(), 0, QColor() };
    }
    return list;
}

QList<Span> spansOfRtf(const QString& text)
{
    QTextDocument doc;
    rtf::read(text, &doc);
    return spans(doc);
}

// How a span shows in a failed comparison.
char* toString(const Span& s)
{
    return qstrdup(qPrintable(QStringLiteral("[%1 b%2 i%3 u%4 %5 %6 %7]")
                                  .arg(s.text)
                                  .arg(s.bold)
                                  .arg(s.italic)
                                  .arg(s.underline)
                                  .arg(s.family)
                                  .arg(s.size)
                                  .arg(s.colour.name())));
}

} // namespace

class LibraryTest : public QObject {
    Q_OBJECT

    Program p;

    // Points the program at a library of our own and fills the tree from it.
    void useLibrary(const QStringList& statements)
    {
        const QString path = p.folder->file(QStringLiteral("own-library.mdb"));
        QFile(path).open(QIODevice::WriteOnly);
        {
            db::Connection c;
            c.open(path);
            c.execute(QStringLiteral("CREATE TABLE category (id INTEGER PRIMARY KEY, name TEXT)"));
            c.execute(QStringLiteral("CREATE TABLE question (id INTEGER PRIMARY KEY, name TEXT, categoryid INTEGER)"));
            for (const QString& s : statements)
                c.execute(s);
        }
        p.w->LibraryConnection().close();
        p.w->LibraryConnection().open(
            path, { QStringLiteral("category"), QStringLiteral("question") }, db::OpenMode::ReadOnly);
        control<QTreeWidget>(p.d, "tvTreeLibrary")->clear();
        p.d->LoadLibrary();
    }

    QTreeWidgetItem* libraryNode(const QString& key)
    {
        return TreeNodes::find(control<QTreeWidget>(p.d, "tvTreeLibrary"), key);
    }

    void pressLibraryAdd(QTreeWidgetItem* node)
    {
        control<QTreeWidget>(p.d, "tvTreeLibrary")->setCurrentItem(node);
        control<QPushButton>(p.d, "cmdLibraryAdd")->click();
    }

    // Triggers an Edit command as the menu does and lets its keystroke arrive.
    void edit(const char* name)
    {
        p.action(name)->trigger();
        QCoreApplication::processEvents();
    }

private Q_SLOTS:
    void init() { p.start(); }
    void cleanup() { p.stop(); }

    // A caption wider than its tree shows whole: in a tooltip, and by scrolling the tree sideways.
    void longCaptionsShowInTooltipsAndScrollTheirTree()
    {
        const QString text = QStringLiteral("How satisfied were you, all things considered, with the time it "
                                            "took our staff to answer your first letter about the order?");
        useLibrary({ "INSERT INTO category VALUES (1, 'Service')",
            QStringLiteral("INSERT INTO question VALUES (10, '%1', 1)").arg(text) });
        QTreeWidgetItem* library = libraryNode(QStringLiteral("Q_10"));
        library->parent()->setExpanded(true);
        control<RichTextBox>(p.d, "txtQ")->setText(text);
        p.d->txtQ_LostFocus();

        const struct {
            QTreeWidget* tree;
            QTreeWidgetItem* node;
            QString caption;
        } cases[] = {
            { control<QTreeWidget>(p.d, "tvTreeView"), p.node(0), QStringLiteral("1. ") + text },
            { control<QTreeWidget>(p.d, "tvTreeLibrary"), library, text },
        };
        for (const auto& c : cases) {
            QCOMPARE(c.node->text(0), c.caption);
            QCOMPARE(c.node->toolTip(0), c.caption);
            QTest::qWait(0);
            QVERIFY2(c.tree->horizontalScrollBar()->maximum() > 0, qPrintable(c.tree->objectName()));
            const int wanted = c.tree->fontMetrics().horizontalAdvance(c.caption);
            QVERIFY2(c.tree->visualItemRect(c.node).width() >= wanted, qPrintable(c.tree->objectName()));
        }
    }

    void libraryTreeIsOrderedByName()
    {
        useLibrary({ "INSERT INTO category VALUES (1, 'Health'), (2, 'Age'), (3, 'education')",
            "INSERT INTO question VALUES (10, 'Do you smoke?', 1), (11, 'Any allergies?', 1), "
            "(12, NULL, 3), (13, 'Which school?', 3)" });
        QTreeWidget* tree = control<QTreeWidget>(p.d, "tvTreeLibrary");
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(TreeNodes::keyOf(root), QStringLiteral("S_Parent"));
        QCOMPARE(root->text(0), QStringLiteral("Library"));
        QVERIFY(root->isExpanded());
        QStringList categories;
        for (int i = 0; i < root->childCount(); ++i) {
            categories << TreeNodes::keyOf(root->child(i)) + QLatin1Char('=') + root->child(i)->text(0);
            QVERIFY(!root->child(i)->isExpanded());
        }
        QCOMPARE(categories, (QStringList { "CAT_2=Age", "CAT_3=education", "CAT_1=Health" }));
        QCOMPARE(root->child(0)->childCount(), 0);
        QCOMPARE(root->child(1)->child(0)->text(0), QString());
        QCOMPARE(TreeNodes::keyOf(root->child(2)->child(0)), QStringLiteral("Q_11"));
        QCOMPARE(root->child(2)->child(0)->text(0), QStringLiteral("Any allergies?"));
        QCOMPARE(root->child(2)->child(1)->text(0), QStringLiteral("Do you smoke?"));
    }

    void shippedLibraryHasEnoughQuestionsInEveryCategory()
    {
        p.loadLibrary();
        QTreeWidgetItem* root = control<QTreeWidget>(p.d, "tvTreeLibrary")->topLevelItem(0);
        QVERIFY(root->childCount() >= 8);
        int questions = 0;
        for (int i = 0; i < root->childCount(); ++i) {
            QTreeWidgetItem* category = root->child(i);
            QVERIFY2(category->childCount() >= 5, qPrintable(category->text(0)));
            for (int j = 0; j < category->childCount(); ++j)
                QVERIFY(!category->child(j)->text(0).trimmed().isEmpty());
            questions += category->childCount();
        }
        QVERIFY(questions >= 80);
    }

    void addWithoutALibraryQuestionSelectedIsRefused()
    {
        p.loadLibrary();
        QTreeWidgetItem* root = control<QTreeWidget>(p.d, "tvTreeLibrary")->topLevelItem(0);
        for (QTreeWidgetItem* node : { static_cast<QTreeWidgetItem*>(nullptr), root, root->child(0) }) {
            Dialogs::Script::answer(Dialogs::OK);
            pressLibraryAdd(node);
            QCOMPARE(Dialogs::Script::lastText(),
                QStringLiteral("No question has been selected to add. Please select a question to add to continue."));
            QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        }
        QCOMPARE(p.survey().QCount(), 1);
    }

    void addPutsTheTextIntoAnEmptyQuestionOrANewOne()
    {
        useLibrary({ "INSERT INTO category VALUES (1, 'Health')",
            "INSERT INTO question VALUES (10, 'Do you smoke?', 1), (11, 'Any allergies?', 1)" });

        // The empty current question takes the text.
        p.clearChanged();
        pressLibraryAdd(libraryNode(QStringLiteral("Q_10")));
        QCOMPARE(p.survey().QCount(), 1);
        QCOMPARE(rtf::toPlainText(p.question(1)->Question), QStringLiteral("Do you smoke?"));
        QCOMPARE(captions(p.d), QStringList { "1. Do you smoke?" });
        QVERIFY(p.changed());
        QVERIFY(p.w->IsFileChanged());

        // A question with text keeps it: a new open-ended question gets the library text.
        p.clearChanged();
        pressLibraryAdd(libraryNode(QStringLiteral("Q_11")));
        QCOMPARE(p.survey().QCount(), 2);
        QCOMPARE(p.question(2)->qType, 0);
        QCOMPARE(captions(p.d), (QStringList { "1. Do you smoke?", "2. Any allergies?" }));
        QCOMPARE(p.current()->Key, p.question(2)->Key);
        QVERIFY(p.changed());

        // An empty question of any type takes it.
        p.action("mnuDesignAddRadioQuestion")->trigger();
        pressLibraryAdd(libraryNode(QStringLiteral("Q_10")));
        QCOMPARE(p.survey().QCount(), 3);
        QCOMPARE(p.question(3)->qType, 2);
        QCOMPARE(captions(p.d).at(2), QStringLiteral("3. Do you smoke?"));

        // With no question shown the text goes into a new one rather than nowhere.
        p.d->selectNode(p.d->rootNode());
        pressLibraryAdd(libraryNode(QStringLiteral("Q_11")));
        QCOMPARE(p.survey().QCount(), 4);
        QCOMPARE(captions(p.d).at(3), QStringLiteral("4. Any allergies?"));
        QVERIFY(control<QWidget>(p.d, "picQProperties")->isVisible());

        // A library row that is gone does nothing.
        p.w->LibraryConnection().close();
        p.w->LibraryConnection().open(p.folder->file(QStringLiteral("own-library.mdb")));
        p.w->LibraryConnection().execute(QStringLiteral("DELETE FROM question WHERE id = 10"));
        pressLibraryAdd(libraryNode(QStringLiteral("Q_10")));
        QCOMPARE(p.survey().QCount(), 4);
    }

    void editCommandsActOnTheQuestionEditorAsKeystrokes()
    {
        int triggered = 0;
        for (const char* name :
            { "mnuEditUndo", "mnuEditCut", "mnuEditCopy", "mnuEditPaste", "mnuEditDelete", "mnuEditSelectAll" })
            connect(p.action(name), &QAction::triggered, this, [&triggered] { ++triggered; });
        typeQuestion(p.d, QStringLiteral("Hello world"));
        RichTextBox* txtQ = control<RichTextBox>(p.d, "txtQ");
        txtQ->setSelStart(int(txtQ->text().size()));

        p.clearChanged();
        edit("mnuEditSelectAll");
        QCOMPARE(txtQ->selText(), QStringLiteral("Hello world"));
        QVERIFY(p.changed());

        edit("mnuEditCut");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Hello world"));
        QCOMPARE(txtQ->text(), QString());
        QCOMPARE(rtf::toPlainText(p.question(1)->Question), QString());
        QCOMPARE(captions(p.d), QStringList { "1. <Text not yet entered>" });

        edit("mnuEditPaste");
        QCOMPARE(rtf::toPlainText(p.question(1)->Question), QStringLiteral("Hello world"));
        QCOMPARE(captions(p.d), QStringList { "1. Hello world" });

        txtQ->setSelStart(6);
        txtQ->setSelLength(5);
        edit("mnuEditDelete");
        QCOMPARE(captions(p.d), QStringList { "1. Hello " });
        edit("mnuEditUndo");
        QCOMPARE(captions(p.d), QStringList { "1. Hello world" });

        txtQ->setSelStart(0);
        txtQ->setSelLength(5);
        QApplication::clipboard()->clear();
        edit("mnuEditCopy");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Hello"));
        // What is copied carries RTF too.
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QVERIFY(copied->hasFormat(QStringLiteral("text/rtf")));
        QCOMPARE(
            rtf::toPlainText(QString::fromLatin1(copied->data(QStringLiteral("text/rtf")))), QStringLiteral("Hello"));

        // Each command ran once: the keystrokes did not run the menu shortcuts again, and the
        // editor keeps its own shortcuts when the user types them.
        QCOMPARE(triggered, 6);
        txtQ->setSelStart(0);
        txtQ->setSelLength(6);
        QTest::keyClick(txtQ, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(txtQ, Qt::Key_Delete);
        QCOMPARE(captions(p.d), QStringList { "1. orld" });
        QCOMPARE(triggered, 6);
    }

    void editCommandsActOnAResponseBox()
    {
        int triggered = 0;
        for (const char* name : { "mnuEditCut", "mnuEditCopy", "mnuEditPaste", "mnuEditDelete", "mnuEditSelectAll" })
            connect(p.action(name), &QAction::triggered, this, [&triggered] { ++triggered; });
        p.action("mnuDesignAddCheckQuestion")->trigger();
        QLineEdit* box = control<QLineEdit>(p.d, "txtCheckResponse");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("Maybe later"));
        p.clearChanged();

        edit("mnuEditSelectAll");
        QCOMPARE(box->selectedText(), QStringLiteral("Maybe later"));
        edit("mnuEditCopy");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Maybe later"));
        box->setSelection(5, 6);
        edit("mnuEditCut");
        QCOMPARE(box->text(), QStringLiteral("Maybe"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral(" later"));
        box->setCursorPosition(0);
        edit("mnuEditPaste");
        QCOMPARE(box->text(), QStringLiteral(" laterMaybe"));
        box->setCursorPosition(0);
        edit("mnuEditDelete");
        QCOMPARE(box->text(), QStringLiteral("laterMaybe"));
        QCOMPARE(triggered, 5);
        // The response box is not the question text: nothing is marked changed.
        QVERIFY(!p.changed());
    }

    void boldItalicUnderlineKeysFormatWhatIsTyped()
    {
        RichTextBox* txtQ = control<RichTextBox>(p.d, "txtQ");
        txtQ->setFocus();
        QTest::keyClick(txtQ, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClicks(txtQ, QStringLiteral("Bold"));
        QTest::keyClick(txtQ, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(txtQ, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClicks(txtQ, QStringLiteral("It"));
        QTest::keyClick(txtQ, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(txtQ, Qt::Key_U, Qt::ControlModifier);
        QTest::keyClicks(txtQ, QStringLiteral("Un"));
        QTest::keyClick(txtQ, Qt::Key_U, Qt::ControlModifier);
        QTest::keyClicks(txtQ, QStringLiteral("plain"));

        const QList<Span> s = spansOfRtf(p.question(1)->Question);
        QCOMPARE(s.size(), 5);
        QCOMPARE(s[0].text, QStringLiteral("Bold"));
        QVERIFY(s[0].bold && !s[0].italic && !s[0].underline);
        QCOMPARE(s[1].text, QStringLiteral("It"));
        QVERIFY(!s[1].bold && s[1].italic && !s[1].underline);
        QCOMPARE(s[2].text, QStringLiteral("Un"));
        QVERIFY(!s[2].bold && !s[2].italic && s[2].underline);
        QCOMPARE(s[3].text, QStringLiteral("plain"));
        QVERIFY(!s[3].bold && !s[3].italic && !s[3].underline);
        QCOMPARE(captions(p.d), QStringList { "1. BoldItUnplain" });

        // Ctrl+B over a selection makes it bold.
        txtQ->setSelStart(0);
        txtQ->setSelLength(15);
        QTest::keyClick(txtQ, Qt::Key_B, Qt::ControlModifier);
        for (const Span& span : spansOfRtf(p.question(1)->Question).mid(0, 4))
            QVERIFY(span.bold);
    }

    // Another program's RTF may carry raw 8-bit bytes in its code page and give no size.
    void pastedRtfBytesAreReadInTheirCodePage()
    {
        auto* data = new QMimeData;
        data->setData(QStringLiteral("text/rtf"), "{\\rtf1\\ansi\\ansicpg1252 \x93Yes\x94 costs \x80 5}");
        QApplication::clipboard()->setMimeData(data);
        // An editor size other than RTF's 12 pt, so that the pasted size shows where it came from.
        auto* txtQ = control<RichTextBox>(p.d, "txtQ");
        QFont editorFont = txtQ->document()->defaultFont();
        editorFont.setPointSize(9);
        txtQ->document()->setDefaultFont(editorFont);
        txtQ->setFocus();
        edit("mnuEditPaste");
        QCOMPARE(txtQ->text(), QString::fromUtf8("\xe2\x80\x9cYes\xe2\x80\x9d costs \xe2\x82\xac 5"));
        QCOMPARE(spans(*txtQ->document()).first().size, 12.0);
    }

    void storedTextReloadsWithItsFormatting()
    {
        // Formatted text pasted from another program arrives as RTF.
        auto* data = new QMimeData;
        data->setData(QStringLiteral("text/rtf"),
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}{\\f1 Times New Roman;}}"
            "{\\colortbl;\\red200\\green0\\blue0;\\red0\\green0\\blue160;}"
            "\\f0\\fs28\\cf1 Red mono \\b bold\\b0\\par"
            "\\f1\\fs20\\cf2\\i blue \\ul italic\\ulnone\\i0  end}");
        QApplication::clipboard()->setMimeData(data);
        auto* txtQ = control<RichTextBox>(p.d, "txtQ");
        txtQ->setFocus();
        edit("mnuEditPaste");
        const QList<Span> shown = spans(*txtQ->document());
        QCOMPARE(shown.first().family, QStringLiteral("Courier New"));
        QCOMPARE(shown.first().size, 14.0);
        QCOMPARE(shown.first().colour, QColor(200, 0, 0));

        // Stored through the commit, shown again by the node click: the same text and formatting.
        const QString stored = p.question(1)->Question;
        QVERIFY(rtf::isRtf(stored));
        QCOMPARE(rtf::toPlainText(stored), QStringLiteral("Red mono bold\r\nblue italic end"));
        p.action("mnuDesignAddOpenEndedQuestion")->trigger();
        p.d->selectNode(p.node(0));
        const QList<Span> reloaded = spans(*txtQ->document());
        QCOMPARE(reloaded, shown);
        QCOMPARE(spansOfRtf(stored), shown);
        QCOMPARE(captions(p.d).at(0), QStringLiteral("1. Red mono bold"));
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<LibraryTest>(argc, argv);
}

#include "test_library.moc"
