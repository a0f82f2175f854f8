// A person at the installed program, for the install test: loaded into the real executable as a
// Qt generic plugin (QT_QPA_GENERIC_PLUGINS=tessivouser, QT_PLUGIN_PATH naming this plugin's
// folder). It answers every message box with No (or its only button) and closes every other
// dialog, as someone who only wants the program to start would; once the main window is up and
// waiting, it closes it. Each step is written as a line to the file TESSIVO_USER_LOG names:
// "message: " and the text of a box, "dialog: " and a dialog's objectName, "files: " and the
// files of the user's data folder just before closing, "closing".
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGenericPlugin>
#include <QMainWindow>
#include <QMessageBox>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

namespace {

void log(const QString& line)
{
    QFile file(qEnvironmentVariable("TESSIVO_USER_LOG"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        file.write((line + QLatin1Char('\n')).toUtf8());
}

class User : public QObject {
public:
    User()
    {
        connect(&timer_, &QTimer::timeout, this, &User::look);
        timer_.start(50);
    }

private:
    void look()
    {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            idle_ = 0;
            answer(modal);
            return;
        }
        QMainWindow* main = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String("frmMain") && top->isVisible())
                main = qobject_cast<QMainWindow*>(top);
        }
        // Start-up is over once its window waits in the program's own event loop.
        if (!main || QThread::currentThread()->loopLevel() != 1 || ++idle_ < 4 || closing_)
            return;
        closing_ = true;
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        log(QStringLiteral("files: ") + QDir(data).entryList(QDir::Files, QDir::Name).join(QLatin1Char(' ')));
        log(QStringLiteral("closing"));
        main->close();
        closing_ = main->isVisible(); // a window that stayed open is closed again
    }

    static void answer(QWidget* modal)
    {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            log(QStringLiteral("message: ") + box->text());
            QAbstractButton* no = box->button(QMessageBox::No);
            QAbstractButton* button = no ? no : box->buttons().value(0);
            if (button)
                button->click();
            return;
        }
        log(QStringLiteral("dialog: ") + modal->objectName());
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QTimer timer_;
    int idle_ = 0;
    bool closing_ = false;
};

class UserPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "user.json")

public:
    QObject* create(const QString& key, const QString&) override
    {
        return key.compare(QLatin1String("tessivouser"), Qt::CaseInsensitive) == 0 ? new User : nullptr;
    }
};

} // namespace

#include "UserPlugin.moc"
