#pragma once

#include "document/clsSurvey.h"
#include "platform/Database.h"

#include <QObject>
#include <QString>

// The open survey that the screens work on: the survey object, the connection to its file, the
// file's path and the unsaved-changes flag. The session knows no window; the main window listens
// to its signal, and every screen is given the session instead of the main window.
class SurveySession : public QObject {
    Q_OBJECT

public:
    explicit SurveySession(QObject* parent = nullptr)
        : QObject(parent)
    { }

    clsSurvey Survey;
    db::Connection SurveyConnection;
    // The path of the open survey file; "" when none is open. A path ending in ".tmp" (any case)
    // is an untitled survey.
    QString CurrentFile;
    bool OpenIsNew = false;
    // The key of the blank question that start-up adds after opening a file ("" when there is
    // none): a place for the user to type into, which is no change to the survey and which no
    // save stores while it stays blank (StoredSurvey.h).
    QString PlaceholderKey;

    // The unsaved-changes flag: set by every edit of the design, cleared by every open.
    bool FileChanged() const { return fileChanged_; }
    void MarkFileChanged() { setFileChanged(true); }
    void setFileChanged(bool changed)
    {
        if (changed == fileChanged_)
            return;
        fileChanged_ = changed;
        Q_EMIT fileChangedChanged(changed);
    }

    // Saving. The survey is written without its blank placeholder (StoredSurvey.h), so that no
    // failure leaves a file half written: each throws db::Error, for the window that asked to show,
    // with every file as it was.

    // Writes the survey into its open file, in one transaction (SurveyFile::save). Returns the
    // position (from 1) of the placeholder that was left out; 0 when none was.
    int save();
    // Whether writing the survey to another file gets around a failure of save(): the open file is
    // damaged or read-only, or was deleted or moved while it was open.
    bool saveAsGetsAround(const db::Error& error) const;

    // What saveAs() carried into the file it wrote.
    enum class Carried {
        // The open survey's database, answers and all, with the survey saved over it (with no file
        // open: the questions on a copy of the template).
        Everything,
        // The open file could not be read whole: the questions and the answer scales, on a copy of
        // the template.
        QuestionsAndScales,
        // As above, but the answer scales could not be read either.
        Questions,
    };
    // Writes the survey into the file `fileName` stands for: a symbolic link is followed (and
    // stays), and the file is replaced only once a new one beside it holds the whole survey; a
    // file it replaces gives it its mode, a new one has the mode of any new file. The new file is
    // a copy of the open survey's database saved over, or, when the open file cannot be read whole
    // or none is open, a copy of the template with the questions as new rows. The session stays on
    // its open file; on failure the questions keep the ids they had.
    Carried saveAs(const QString& fileName);

    // A new untitled survey file in the program's writable folder (named "HC....TMP" as the
    // temporary-file function names it), a copy of the template checked to be a survey file of this
    // version. Throws, with no file left, when it cannot be made.
    static QString createUntitledFile();

Q_SIGNALS:
    void fileChangedChanged(bool changed);

private:
    bool fileChanged_ = false;
};
