#include "document/ReportFile.h"

#include "platform/Database.h"

namespace {
const QString kSource = QStringLiteral("Tessivo");
}

ReportFile::ReportFile(const QString& path) : file_(path)
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
    throw db::Error(QStringLiteral("Could not write '%1': %2").arg(file_.fileName(), why), kErrPathAccess, kSource);
}

bool ReportFile::WriteWhole(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    ReportFile file(path);
    if (!write(file.device()))
        return false;
    file.commit();
    return true;
}
