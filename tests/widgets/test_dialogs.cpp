// The file dialogs of the dialog wrapper, shown for real (not scripted).
#include "TestEnvironment.h"
#include "widgets/Dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Runs fn on the next modal widget of type T once it is shown (fn must close it).
template <typename T> void whenShown(std::function<void(T*)> fn, int attempts = 300)
{
    QTimer::singleShot(10, qApp, [fn, attempts] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            fn(modal);
            return;
        }
        if (attempts > 0)
            whenShown<T>(fn, attempts - 1);
    });
}

QPushButton* openButton(QFileDialog* dialog)
{
    return dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Open);
}

void typeName(QFileDialog* dialog, const QString& name)
{
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    edit->clear();
    QTest::keyClicks(edit, name);
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    Dialogs::FileRequest surveyRequest() const
    {
        Dialogs::FileRequest request;
        request.fileName = dir.filePath(QStringLiteral("x.tvq"));
        request.filter = QStringLiteral("Tessivo Survey (*.tvq)|*.tvq");
        request.flags = Dialogs::FileMustExist | Dialogs::HideReadOnly;
        return request;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QFile keep(dir.filePath(QStringLiteral("keep.tmp")));
        QVERIFY(keep.open(QIODevice::WriteOnly));
    }

    // An existing file that the filter hides can be typed and opened.
    void openTakesAnExistingFileTheFilterHides()
    {
        bool enabled = false;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            typeName(dialog, QStringLiteral("keep.tmp"));
            enabled = openButton(dialog)->isEnabled();
            if (enabled)
                openButton(dialog)->click();
            else
                dialog->reject();
        });
        const std::optional<QString> chosen = Dialogs::showOpen(surveyRequest());
        QVERIFY(enabled);
        QCOMPARE(chosen.value_or(QString()), dir.filePath(QStringLiteral("keep.tmp")));
    }

    // A name that does not exist is refused with a message, and the dialog stays for another.
    void openRefusesAMissingFile()
    {
        QString message;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            typeName(dialog, QStringLiteral("missing.tvq"));
            whenShown<QMessageBox>([&](QMessageBox* box) {
                message = box->text();
                box->accept();
                whenShown<QFileDialog>([](QFileDialog* again) { again->reject(); });
            });
            openButton(dialog)->click();
        });
        QVERIFY(!Dialogs::showOpen(surveyRequest()).has_value());
        QCOMPARE(message,
            dir.filePath(QStringLiteral("missing.tvq"))
                + QStringLiteral(" was not found. Check the file name and try again."));
    }

    // A message carries texts from files and servers: it is shown as written, never read as markup.
    void aMessageShowsItsTextAsWritten()
    {
        const QString text = QStringLiteral("Unable to open <b>R&D</b> <img src=x>.tvq. Error &amp; 5");
        Qt::TextFormat format = Qt::AutoText;
        QString shown;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            format = box->textFormat();
            shown = box->text();
            box->accept();
        });
        Dialogs::msgBox(text, Dialogs::OKOnly, Dialogs::Critical);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(shown, text);
    }
};

int main(int argc, char** argv)
{
    initTestEnvironment();
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    DialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_dialogs.moc"
