#pragma once

#include "ProgramFolder.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QObject>
#include <QString>
#include <QtTest>

#include <memory>

class frmMain;

// What every GUI test works with: a program folder of its own, the prompts scripted, and the
// program once it has been started.
class TestProgram {
public:
    TestProgram();
    ~TestProgram();
    TestProgram(const TestProgram&) = delete;
    TestProgram& operator=(const TestProgram&) = delete;

    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<frmMain> w;

    // A fresh program folder, the prompts scripted from here on, nothing recorded of the shell,
    // and the web wizards' pages starting their work at once instead of after half a second.
    void begin();
    // Starts the program with the command line as a user does (startProgram); fails the test
    // when no window comes up.
    void start(const QString& commandLine = QString());
    // Closes the program without a save question, ends the script and removes the folder; fails
    // the test on a prompt it did not script.
    void end();
};

// A Qt Test class of the GUI: each test function begins with a fresh program folder and ends
// with the program closed and every prompt accounted for. A class that needs more before or
// after each function has its own init() or cleanup() and calls these first or last.
class GuiTest : public QObject, protected TestProgram {
    Q_OBJECT

protected Q_SLOTS:
    void init() { begin(); }
    void cleanup() { end(); }
};

// The main() of a GUI test: the private environment, then the application, then the tests.
template <class Test> int runGuiTest(int argc, char** argv)
{
    initTestEnvironment();
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
