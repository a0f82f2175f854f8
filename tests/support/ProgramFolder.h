#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

// A program folder of the test's own, holding copies of the files that ship beside the program;
// the program uses it while the object lives.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    // A new survey file in the folder: a copy of the template under the given name.
    QString newSurvey(const QString& name) const;
    // A survey file of the given questions: a type and a plain text, with "|" before each response.
    QString writeSurvey(const QString& name, const QList<QPair<qint32, QString>>& questions) const;
    // The files in the folder whose names match the pattern (for instance "HC*.TMP").
    QStringList files(const QString& pattern) const;

    // The folder the build places the program and its files in.
    static QString buildFolder();

private:
    QTemporaryDir dir_;
};
