#pragma once

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QWidget;
class SurveySession;

// The web wizards' shared state. The two wizards have no object of their own: a driver loop
// shows one page at a time, modally, and the pages talk to each other only through these values,
// which live for the whole run of the program (a second run of a wizard shows what was typed in
// the first). Nothing of it is written to the settings store.

// The page to show: 1 to 6, 7 leaves the wizard. Shared by both wizards.
extern int WizardStep;
// The user pressed Cancel (or closed a page by its close box).
extern bool WizardCancelled;

// Publish: the server entry (-1 the built-in entry, N the custom entry N), the web account, the
// survey's name on the service and whether it is public, and the address at which the service
// published it ("" when not published).
extern int PublishServerIndex;
extern QString PublishUserName;
extern QString PublishPassword;
extern QString PublishSurveyName;
extern bool PublishPublic;
extern QString PublishedURL;

// Collect: the server entry, the web account, the user id the service answered as decimal text
// ("-1" when the login failed) and the survey chosen from the list.
extern int CollectServerIndex;
extern QString CollectUserName;
extern QString CollectPassword;
extern QString CollectWebUserID;
extern int CollectSurveyID;

// Every value as at program start ("" for texts, 0 for numbers, false for flags); for tests.
void resetWizardState();

// The driver loop: step 1 first, then whatever page WizardStep names, each a fresh window shown
// modally, until a page cancels or the step reaches 7.
using WizardPageFactory = std::function<std::unique_ptr<QDialog>(int step)>;
void runWizard(const WizardPageFactory& page);

// The two wizards of the Data Collection menu, on the open survey. The owner centres the pages.
void runPublishWizard(SurveySession& session, QWidget* owner);
void runCollectWizard(SurveySession& session, QWidget* owner);
