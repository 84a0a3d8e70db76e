#include "shell/frmExchange.h"

#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ExchangeDialog::ExchangeDialog(const QString& name, const QString& caption, QList<Choice> choices,
                               const QString& action, QWidget* parent)
    : QDialog(parent), choices_(std::move(choices)) {
    setObjectName(name);
    setWindowTitle(caption);
    auto* column = new QVBoxLayout(this);
    for (const Choice& c : choices_) {
        auto* option = new QRadioButton(QString::fromUtf8(c.caption), this);
        option->setObjectName(QString::fromLatin1(c.name));
        connect(option, &QRadioButton::toggled, this, &ExchangeDialog::Update);
        column->addWidget(option);
        options_ << option;
    }

    auto* days = new QHBoxLayout;
    chkDays = new QCheckBox(QStringLiteral("Only the &days from"), this);
    chkDays->setObjectName(QStringLiteral("chkDays"));
    const QDate today = QDate::currentDate();
    auto dateBox = [this](const char* boxName, const QDate& day) {
        auto* box = new QDateEdit(day, this);
        box->setObjectName(QString::fromLatin1(boxName));
        box->setCalendarPopup(true);
        box->setDisplayFormat(QStringLiteral("d MMM yyyy"));
        return box;
    };
    dtpFirst = dateBox("dtpFirst", QDate(today.year(), 1, 1));
    dtpLast = dateBox("dtpLast", QDate(today.year(), 12, 31));
    auto* to = new QLabel(QStringLiteral("to"), this);
    connect(chkDays, &QCheckBox::toggled, this, &ExchangeDialog::Update);
    days->addWidget(chkDays);
    days->addWidget(dtpFirst);
    days->addWidget(to);
    days->addWidget(dtpLast);
    days->addStretch(1);
    column->addLayout(days);

    auto* where = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&File or folder:"), this);
    txtPath = new QLineEdit(this);
    txtPath->setObjectName(QStringLiteral("txtPath"));
    label->setBuddy(txtPath);
    cmdBrowse = new QPushButton(QStringLiteral("&Browse..."), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setAutoDefault(false);
    connect(cmdBrowse, &QPushButton::clicked, this, &ExchangeDialog::Browse);
    where->addWidget(label);
    where->addWidget(txtPath, 1);
    where->addWidget(cmdBrowse);
    column->addLayout(where);

    prgWork = new QProgressBar(this);
    prgWork->setObjectName(QStringLiteral("prgWork"));
    prgWork->setVisible(false);
    column->addWidget(prgWork);

    auto* buttons = new QHBoxLayout;
    cmdGo = new QPushButton(action, this);
    cmdGo->setObjectName(QStringLiteral("cmdGo"));
    cmdGo->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    connect(cmdGo, &QPushButton::clicked, this, [this] { Go(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        if (running_)
            cancelled_ = true;
        else
            reject();
    });
    buttons->addStretch(1);
    buttons->addWidget(cmdGo);
    buttons->addWidget(cmdCancel);
    column->addLayout(buttons);
    options_.first()->setChecked(true);
    Update();
}

int ExchangeDialog::Chosen() const {
    for (int i = 0; i < options_.size(); ++i)
        if (options_.at(i)->isChecked())
            return i;
    return 0;
}

QString ExchangeDialog::Path() const {
    return txtPath->text().trimmed();
}

Exchange::Range ExchangeDialog::Days() const {
    if (!chkDays->isChecked() || !choices_.at(Chosen()).calendar)
        return {};
    return {dtpFirst->date(), dtpLast->date()};
}

void ExchangeDialog::Update() {
    const bool calendar = choices_.at(Chosen()).calendar;
    chkDays->setEnabled(calendar && !running_);
    dtpFirst->setEnabled(calendar && chkDays->isChecked() && !running_);
    dtpLast->setEnabled(calendar && chkDays->isChecked() && !running_);
}

void ExchangeDialog::Browse() {
    const Choice& c = choices_.at(Chosen());
    QString chosen;
    if (c.folder)
        chosen = QFileDialog::getExistingDirectory(this, windowTitle(), Path());
    else if (objectName() == QLatin1String("frmExport"))
        chosen = QFileDialog::getSaveFileName(this, windowTitle(), Path(),
                                              QStringLiteral("iCalendar (*.ics)"));
    else
        chosen = QFileDialog::getOpenFileName(this, windowTitle(), Path(),
                                              QStringLiteral("iCalendar (*.ics *.ical)"));
    if (!chosen.isEmpty())
        txtPath->setText(QDir::toNativeSeparators(chosen));
}

Exchange::Progress ExchangeDialog::Progress() {
    return [this](int done, int total) {
        prgWork->setMaximum(qMax(total, 1));
        prgWork->setValue(qMin(done, qMax(total, 1)));
        QApplication::processEvents();
        return !cancelled_;
    };
}

void ExchangeDialog::Running(bool running) {
    running_ = running;
    cancelled_ = false;
    prgWork->setVisible(running);
    prgWork->setValue(0);
    for (QWidget* w : {static_cast<QWidget*>(txtPath), static_cast<QWidget*>(cmdBrowse),
                       static_cast<QWidget*>(cmdGo)})
        w->setEnabled(!running);
    for (QRadioButton* o : std::as_const(options_))
        o->setEnabled(!running);
    Update();
}

frmExport::frmExport(QWidget* parent)
    : ExchangeDialog(QStringLiteral("frmExport"), QStringLiteral("Export"),
                     {{"optCalendar", "Calendar events and journal (iCalendar .ics)", true, false},
                      {"optThoughts", "Thoughts (folder of Markdown files)", false, true},
                      {"optBoth", "Everything (both)", true, true}},
                     QStringLiteral("&Export"), parent) {}

void frmExport::Go() {
    QString path = Path();
    if (path.isEmpty()) {
        MsgBox(QStringLiteral("Choose the file or folder to export to."), MsgButtons::OK,
               MsgIcon::Exclamation, windowTitle());
        return;
    }
    const int chosen = Chosen();
    Running(true);
    bool done = false;
    QString madeFolder;
    try {
        if (chosen == 0) {
            if (QFileInfo(path).suffix().isEmpty())
                path += QStringLiteral(".ics");
            done = Exchange::ExportCalendar(path, Days(), Progress());
        } else if (chosen == 1) {
            done = Exchange::ExportThoughts(path, Progress());
        } else {
            if (!QDir().mkpath(path))
                throw RuntimeError(0, QStringLiteral("The folder '%1' cannot be made.").arg(path));
            madeFolder = path + QStringLiteral("/Thoughts");
            done =
                Exchange::ExportThoughts(madeFolder, Progress()) &&
                Exchange::ExportCalendar(path + QStringLiteral("/pimora.ics"), Days(), Progress());
            // The half that was written goes with the cancel of the other.
            if (!done && QFileInfo(madeFolder).isDir())
                QDir(madeFolder).removeRecursively();
        }
    } catch (const RuntimeError& e) {
        Running(false);
        ShowError(QStringLiteral("Error while exporting!"), QStringLiteral("Export Error!"), e);
        return;
    }
    Running(false);
    if (done)
        accept();
}

frmImport::frmImport(QString parentCaption, Importer importer, QWidget* parent)
    : ExchangeDialog(
          QStringLiteral("frmImport"), QStringLiteral("Import"),
          {{"optCalendar", "Calendar events and journal (iCalendar .ics)", true, false},
           {"optThoughts", "Thoughts (folder of Markdown or plain-text files)", false, true}},
          QStringLiteral("&Import"), parent),
      parentCaption_(std::move(parentCaption)), importer_(std::move(importer)) {}

void frmImport::Go() {
    const QString path = Path();
    if (path.isEmpty()) {
        MsgBox(QStringLiteral("Choose the file or folder to import."), MsgButtons::OK,
               MsgIcon::Exclamation, windowTitle());
        return;
    }
    Exchange::CalendarPlan calendar;
    Exchange::ThoughtsPlan thoughts;
    try {
        if (Chosen() == 0)
            calendar = Exchange::ReadCalendar(path, Days());
        else
            thoughts = Exchange::ReadThoughts(path);
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while importing!"), QStringLiteral("Import Error!"), e);
        return;
    }
    if (MsgBox(Exchange::Preview(calendar, thoughts, parentCaption_) +
                   QStringLiteral(".\r\n\r\nImport now? A backup is made first."),
               MsgButtons::YesNo, MsgIcon::Question, windowTitle()) != MsgResult::Yes)
        return;
    Running(true);
    const bool imported = importer_(calendar, thoughts, Progress());
    Running(false);
    if (imported)
        accept();
}
