#include "GuiTest.h"

#include "StartProgram.h"
#include "platform/Shell.h"
#include "shell/frmMain.h"
#include "web/WizardPage.h"
#include "widgets/Dialogs.h"

namespace {
// Long enough for a page to be shown before its work starts, as it is for a user.
constexpr int kQuickStartDelay = 10;
} // namespace

TestProgram::TestProgram() = default;
TestProgram::~TestProgram() = default;

void TestProgram::begin()
{
    folder = std::make_unique<ProgramFolder>();
    Dialogs::Script::begin();
    Shell::clearRecorded();
    WizardPage::setStartDelay(kQuickStartDelay);
}

void TestProgram::start(const QString& commandLine)
{
    w = startProgram(commandLine);
    QVERIFY(w);
}

void TestProgram::end()
{
    const QString unexpected = stopProgram(w);
    folder.reset();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected));
}
