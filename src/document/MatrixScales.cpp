#include "document/MatrixScales.h"

#include "document/SurveyFile.h"
#include "platform/Database.h"
#include "platform/TextUtil.h"

namespace MatrixScales {

std::vector<Scale> read(db::Connection& connection)
{
    std::vector<Scale> scales;
    db::Recordset groups = connection.openRecordset(
        QStringLiteral("SELECT rmg.id, rmg.name FROM responsematrixgroup AS rmg WHERE rmg.id<>1 ORDER BY rmg.id;"));
    for (; !groups.atEnd(); groups.moveNext()) {
        Scale scale;
        scale.id = groups.field(QStringLiteral("id")).toInt();
        QStringList names;
        db::Recordset columns = connection.openRecordset(
            QStringLiteral("SELECT name FROM responsematrix AS rm WHERE rm.responsematrixgroupid = ? ORDER BY pos, id"),
            { scale.id });
        for (; !columns.atEnd(); columns.moveNext())
            names << NullToEmpty(columns.field(QStringLiteral("name")));
        scale.text = names.join(QLatin1Char('/'));
        scales.push_back(scale);
    }
    return scales;
}

int add(db::Connection& connection, const QStringList& columns)
{
    db::Transaction transaction(connection);
    const int id = SurveyFile::newId(connection.appendRow(QStringLiteral("ResponseMatrixGroup"),
                                         { { QStringLiteral("Name"), QStringLiteral("User Added") } }),
        QStringLiteral("answer scale"));
    for (int pos = 0; pos < columns.size(); ++pos) {
        const qint64 column = connection.appendRow(QStringLiteral("ResponseMatrix"),
            { { QStringLiteral("Name"), columns.at(pos) }, { QStringLiteral("ResponseMatrixGroupID"), id },
                { QStringLiteral("pos"), pos } });
        SurveyFile::newId(column, QStringLiteral("answer scale column"));
    }
    transaction.commit();
    return id;
}

} // namespace MatrixScales
