#include "document/ReportFile.h"

#include "platform/Database.h"

ReportFile::ReportFile(const QString& path)
    : file_(path)
{
    if (!file_.open(QIODevice::WriteOnly))
        fail(file_.errorString());
}

void ReportFile::commit()
{
    if (!file_.commit())
        fail(file_.errorString());
}

void ReportFile::fail(const QString& why) const
{
    throw db::programError(QStringLiteral("Could not write '%1': %2").arg(file_.fileName(), why), db::kErrPathAccess);
}

bool ReportFile::writeWhole(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    ReportFile file(path);
    if (!write(file.device()))
        return false;
    file.commit();
    return true;
}
