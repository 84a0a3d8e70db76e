// Loaded into the packaged program (LD_PRELOAD) to be its first user on the offscreen
// platform, where nothing outside the process can press a button: it answers Yes to the
// create question, closes the main window once it shows, and writes down what it saw. Any
// other box ends the program with a failure, its text in the log.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

void Log(const QString& line) {
    QFile log(qEnvironmentVariable("PIMORA_FIRST_USER_LOG"));
    if (log.open(QIODevice::Append | QIODevice::Text))
        log.write((line + '\n').toUtf8());
}

void Look() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            Log(QStringLiteral("box: %1: %2").arg(box->windowTitle(), box->text()));
            if (box->windowTitle() != QLatin1String("Create new database?")) {
                QApplication::exit(3);
                return;
            }
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == QMessageBox::YesRole) {
                    Log(QStringLiteral("answered: %1").arg(b->text()));
                    b->click();
                    return;
                }
        } else if (w->objectName() == QLatin1String("frmMain")) {
            Log(QStringLiteral("main window: %1").arg(w->windowTitle()));
            w->close();
            return;
        }
    }
}

void Start() {
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, &Look);
    timer->start(50);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(Start)
