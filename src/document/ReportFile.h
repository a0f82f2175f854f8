#pragma once

#include <QSaveFile>
#include <QString>

#include <functional>

// A document the analysis writes for the user, streamed into a QSaveFile: the target is replaced
// only by commit(), once the whole document is written; a failure or a cancel leaves an existing
// file as it was. Failures are thrown as db::Error, as the commands report them.
class ReportFile {
public:
    // Opens the file for writing; throws when it cannot be created.
    explicit ReportFile(const QString& path);
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    QSaveFile& device() { return file_; }
    // Replaces the target with what was written; throws when any write failed or the rename does.
    void commit();
    // Throws the failure of a write with its description.
    [[noreturn]] void fail(const QString& why) const;

    // Opens the file, lets `write` stream the document into it and commits it when `write`
    // answers true; false (the file left as it was) when `write` answers false.
    static bool writeWhole(const QString& path, const std::function<bool(QIODevice&)>& write);

private:
    QSaveFile file_;
};
