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
    explicit SurveySession(QObject* parent = nullptr) : QObject(parent) {}

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

Q_SIGNALS:
    void fileChangedChanged(bool changed);

private:
    bool fileChanged_ = false;
};
