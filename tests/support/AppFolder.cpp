#include "AppFolder.h"

#include "common/AppGlobals.h"
#include "data/Recordset.h"
#include "data/modDB.h"
#include "platform/Application.h"
#include "platform/SingleInstance.h"

#include <QCoreApplication>

#include <QFile>
#include <gtest/gtest.h>

AppFolder::AppFolder(Setup setup) {
    EXPECT_TRUE(dir_.isValid());
    ResetAppGlobals();
    App::SetTitle(QStringLiteral("Pimora"));
    App::SetPath(dir_.path());
    SingleInstance::SetScope(QString::number(QCoreApplication::applicationPid()));
    gConn.reset();
    gSQL.clear();
    if (setup != Empty)
        CopyTemplateTo(QStringLiteral("kosg.dat"));
    if (setup == WithDatabase) {
        CopyTemplateTo(QStringLiteral("pengkalan.dat"));
        Connect();
    }
}

AppFolder::~AppFolder() {
    gConn.reset();
    SingleInstance::Instance().Release();
    App::SetPath(QString());
    ResetAppGlobals();
}

void AppFolder::CopyTemplateTo(const QString& name) const {
    QFile::remove(File(name));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PIMORA_TEMPLATE_DB), File(name)))
        << "template missing: " << PIMORA_TEMPLATE_DB;
    QFile(File(name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

void AppFolder::Connect() const {
    gConn = std::make_unique<Connection>();
    gConn->Open(ConnectionString());
}

void Exec(const QString& sql) {
    gConn->Execute(sql);
}

QVariant Scalar(const QString& sql) {
    Recordset rs;
    rs.Open(sql, *gConn);
    return rs.Eof() ? QVariant() : rs.Field(0);
}

int Count(const QString& sql) {
    Recordset rs;
    rs.Open(sql, *gConn);
    return static_cast<int>(rs.RecordCount());
}

bool IntegrityOk() {
    return Scalar(QStringLiteral("pragma integrity_check")).toString() == QLatin1String("ok");
}
