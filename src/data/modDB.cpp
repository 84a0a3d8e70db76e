#include "data/modDB.h"

#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"
#include "data/EngineErrors.h"
#include "data/Recordset.h"
#include "data/ScopedTrans.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

std::unique_ptr<Connection> gConn;
QString gSQL;

namespace {

const QString kCritical = QStringLiteral("Critical Error - Pimora cannot continue!");

RuntimeError NoConnection() {
    return RuntimeError(91, QStringLiteral("Object variable or With block variable not set"),
                        QStringLiteral("Pimora"));
}

// The copy is the owner's alone: it will hold a private journal.
void CopyTemplate(const QString& from, const QString& to) {
    const QString unmade = App::MakeDataPath();
    if (!unmade.isEmpty())
        throw EngineError::General(QStringLiteral("Could not make the folder %1").arg(unmade),
                                   ErrorKind::FileAccess, to);
    QFile source(from);
    QByteArray data;
    if (source.open(QIODevice::ReadOnly))
        data = source.readAll();
    if (!source.isOpen() || source.error() != QFileDevice::NoError)
        throw EngineError::General(
            QStringLiteral("Could not read '%1': %2").arg(from, source.errorString()),
            ErrorKind::FileAccess, from);
    const FileWriteResult written = WriteFileReplacing(to, data, 0600);
    if (!written.ok)
        throw EngineError::General(
            QStringLiteral("Could not write '%1': %2").arg(to, written.error),
            ErrorKind::FileAccess, to);
}

} // namespace

QString DatabaseFile() {
    return App::DataPath() + QStringLiteral("/pengkalan.dat");
}
QString TemplateFile() {
    return App::Path() + QStringLiteral("/kosg.dat");
}

QString ConnectionString() {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + DatabaseFile() +
           QStringLiteral(";Persist Security Info=False");
}

bool IsMissingDatabaseError(const RuntimeError& error, const QString& folder) {
    return error.Kind() == ErrorKind::FileNotFound && error.Detail().startsWith(folder);
}

namespace {

// A rewrite that was cut short leaves its unfinished file; the database itself is whole.
void RemoveUnfinishedRewrites() {
    const QFileInfo db(DatabaseFile());
    const QString prefix = QFileInfo(Connection::RewritePrefix(db.absoluteFilePath())).fileName();
    const QDir folder = db.absoluteDir();
    for (const QString& name : folder.entryList({prefix + QLatin1Char('*')}, QDir::Files))
        QFile::remove(folder.filePath(name));
}

} // namespace

bool OpenDatabase(const std::function<bool(const RuntimeError&)>& recover) {
    const QString folder = App::DataPath();
    RemoveUnfinishedRewrites();
    for (;;) {
        try {
            auto conn = std::make_unique<Connection>();
            conn->Open(ConnectionString());
            gConn = std::move(conn);
            return true;
        } catch (const RuntimeError& e) {
            gConn.reset();
            if (e.Kind() == ErrorKind::Damaged && recover && recover(e))
                continue;
            if (!IsMissingDatabaseError(e, folder)) {
                ShowError(QStringLiteral("Error Connecting to Database!"),
                          QStringLiteral("DB Connection Error"), e);
                return false;
            }
            if (!QFileInfo(TemplateFile()).isFile()) {
                ShowError(QStringLiteral("Cannot find database file!  Download Pimora again to "
                                         "ensure you have the complete Pimora package!"),
                          kCritical, e);
                return false;
            }
            const MsgResult answer = MsgBox(
                QStringLiteral("Database file (pengkalan.dat) file is not found!  Would "
                               "you like to create a new database file?"),
                MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("Create new database?"));
            if (answer != MsgResult::Yes)
                return false;
            try {
                CopyTemplate(TemplateFile(), DatabaseFile());
            } catch (const RuntimeError& copyError) {
                ShowError(QStringLiteral("Cannot create the database file (pengkalan.dat)!"),
                          kCritical, copyError);
                return false;
            }
        }
    }
}

bool CloseDatabase() {
    try {
        if (!gConn)
            throw NoConnection();
        gConn->Close();
        gConn.reset();
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error Disconnecting from Database"),
                  QStringLiteral("DB Connection Error!"), e);
        return false;
    }
}

namespace {

// Runs one step of the upgrade as a whole: it happens completely or not at all, so a
// failed step can be tried again at the next start.
void RunStepAtomically(std::initializer_list<QString> statements) {
    ScopedTrans step(*gConn);
    for (const QString& s : statements) {
        gSQL = s;
        gConn->Execute(gSQL);
    }
    step.Commit();
}

} // namespace

bool CheckDBVersion(const std::function<void()>& beforeUpgrade) {
    // The copy before an upgrade is made once, before its first change.
    bool announced = false;
    auto RunStep = [&](std::initializer_list<QString> statements) {
        if (!announced && beforeUpgrade) {
            announced = true;
            beforeUpgrade();
        }
        RunStepAtomically(statements);
    };
    Recordset rs;
    try {
        if (!gConn)
            throw NoConnection();
        const QString select = QStringLiteral("select * from pmversion order by verdate desc");
        gSQL = select;
        try {
            rs.Open(gSQL, *gConn);
        } catch (const RuntimeError& e) {
            if (e.Kind() != ErrorKind::MissingTable || e.Detail() != QLatin1String("pmversion"))
                throw;
            // A database without a version table predates it: version 0.9.5.
            RunStep({QStringLiteral("Create table pmVersion (DBVer CHAR CONSTRAINT MyConstraint "
                                    "PRIMARY KEY, VerDate CHAR)"),
                     QStringLiteral("insert into pmversion (dbver,verdate) values ('0.9.5','") +
                         VbFormat(Clock::Today(), QStringLiteral("dd mmm yyyy")) +
                         QStringLiteral("')")});
            gSQL = select;
            rs.Open(gSQL, *gConn);
        }
        if (rs.Eof()) {
            MsgBox(QStringLiteral("No record in pmVersion table, which is strange..."));
            rs.Close();
            return true;
        }
        QString version = NullToEmpty(rs.Field(QStringLiteral("dbver")));
        while (version != CURRENT_DB_VERSION) {
            if (version == QLatin1String("0.9.6")) {
                RunStep({QStringLiteral("ALTER TABLE pmPref ADD COLUMN MinimizeToSystray TEXT(1)"),
                         QStringLiteral("update pmPref set MinimizeToSystray = 'N'"),
                         QStringLiteral("ALTER TABLE pmPref ADD COLUMN EnableToolTips TEXT(1)"),
                         QStringLiteral("update pmPref set EnableToolTips = 'Y'"),
                         QStringLiteral("update pmVersion set dbver = '0.9.7'")});
                version = QStringLiteral("0.9.7");
            } else if (version == QLatin1String("0.9.5")) {
                RunStep({QStringLiteral("ALTER TABLE pmPref ADD COLUMN ShortDateFormat TEXT(25)"),
                         QStringLiteral("update pmPref set ShortDateFormat = 'yyyy-mm-dd'"),
                         QStringLiteral("update pmVersion set dbver = '0.9.6'")});
                version = QStringLiteral("0.9.6");
            } else {
                MsgBox(QStringLiteral("Database version has been corrupted!  Errors may occur "
                                      "when Pimora is in operation.  Backup your pengkalan.dat "
                                      "immediately!"),
                       MsgButtons::OK, MsgIcon::Critical, QStringLiteral("Pimora Critical error!"));
                rs.Close();
                return false;
            }
        }
        rs.Close();
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while determining DB version!"),
                  QStringLiteral("DB Error!"), e);
        rs.CloseIfOpen();
        return false;
    }
}
