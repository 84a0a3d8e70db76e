#include "Render.h"

#include "data/Recordset.h"
#include "data/modDB.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

QString Rows(const QString& sql) {
    Recordset rs;
    rs.Open(sql, *gConn);
    QString out;
    while (!rs.Eof()) {
        out += QLatin1Char('(');
        for (int i = 0; i < rs.FieldCount(); ++i) {
            if (i)
                out += QLatin1Char(',');
            const QVariant v = rs.Field(i);
            switch (v.typeId()) {
            case QMetaType::UnknownType:
                out += QStringLiteral("NULL");
                break;
            case QMetaType::QDate:
                out += QLatin1Char('#') + v.toDate().toString(Qt::ISODate) + QLatin1Char('#');
                break;
            case QMetaType::QTime:
                out += QLatin1Char('@') + v.toTime().toString(QStringLiteral("HH:mm:ss"));
                break;
            case QMetaType::QDateTime:
                out += QLatin1Char('#') +
                       v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                       QLatin1Char('#');
                break;
            case QMetaType::QString:
                out += QLatin1Char('\'') + v.toString() + QLatin1Char('\'');
                break;
            default:
                out += v.toString();
            }
        }
        out += QLatin1Char(')');
        rs.MoveNext();
    }
    rs.Close();
    return out;
}
