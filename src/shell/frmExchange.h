#pragma once

#include "exchange/Exchange.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

// What the export and the import dialogs share: the choice of what, the optional days, the
// file or folder, and a progress bar whose Cancel stops long work.
class ExchangeDialog : public QDialog {
    Q_OBJECT
protected:
    struct Choice {
        const char* name;
        const char* caption;
        bool calendar; // the days apply
        bool folder;   // the path is a folder
    };
    ExchangeDialog(const QString& name, const QString& caption, QList<Choice> choices,
                   const QString& action, QWidget* parent);
    int Chosen() const;
    QString Path() const;
    Exchange::Range Days() const;
    // For the work: shows the progress and keeps the window alive; false once cancelled.
    Exchange::Progress Progress();
    void Running(bool running);
    virtual void Go() = 0;

private:
    void Browse();
    void Update();
    QList<Choice> choices_;
    QList<QRadioButton*> options_;
    QCheckBox* chkDays = nullptr;
    QDateEdit* dtpFirst = nullptr;
    QDateEdit* dtpLast = nullptr;
    QLineEdit* txtPath = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QProgressBar* prgWork = nullptr;
    QPushButton* cmdGo = nullptr;
    QPushButton* cmdCancel = nullptr;
    bool running_ = false;
    bool cancelled_ = false;
};

// "Export": the calendar as an .ics file, Thoughts as a folder of Markdown files, or both into
// one folder. Never changes the database; a cancelled export leaves nothing behind.
class frmExport : public ExchangeDialog {
    Q_OBJECT
public:
    explicit frmExport(QWidget* parent = nullptr);

private:
    void Go() override;
};

// "Import": an .ics file or a folder of Markdown or plain-text files. Shows what would be
// written, then hands the plans to the window, which backs up and writes them.
class frmImport : public ExchangeDialog {
    Q_OBJECT
public:
    using Importer = std::function<bool(const Exchange::CalendarPlan&,
                                        const Exchange::ThoughtsPlan&, const Exchange::Progress&)>;
    frmImport(QString parentCaption, Importer importer, QWidget* parent = nullptr);

private:
    void Go() override;
    QString parentCaption_;
    Importer importer_;
};
