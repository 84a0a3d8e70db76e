#include "controls/BackupGuard.h"

#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "platform/Prompter.h"

#include <QElapsedTimer>
#include <QProgressDialog>

namespace {
constexpr int kShowAfterMs = 500;
} // namespace

struct CopyProgressDialog::Private {
    QString label;
    QWidget* parent = nullptr;
    QElapsedTimer clock;
    std::unique_ptr<QProgressDialog> dialog;
};

CopyProgressDialog::CopyProgressDialog(const QString& label, QWidget* parent)
    : d_(std::make_unique<Private>()) {
    d_->label = label;
    d_->parent = parent;
    d_->clock.start();
}

CopyProgressDialog::~CopyProgressDialog() = default;

Backups::Progress CopyProgressDialog::Callback() {
    return [d = d_.get()](int done, int total) {
        if (!d->dialog && d->clock.elapsed() >= kShowAfterMs && done < total) {
            d->dialog = std::make_unique<QProgressDialog>(d->label, QString(), 0, total, d->parent);
            d->dialog->setObjectName(QStringLiteral("dlgCopyProgress"));
            d->dialog->setWindowTitle(QStringLiteral("Pimora"));
            d->dialog->setWindowModality(Qt::WindowModal);
            d->dialog->setMinimumDuration(0);
        }
        if (d->dialog && d->dialog->maximum() != total)
            d->dialog->setMaximum(total); // a second part of the work, counted on its own
        if (d->dialog)
            d->dialog->setValue(done);
        return true;
    };
}

std::optional<Backups::Entry> BackUp(Backups::Reason reason, QWidget* parent) {
    CopyProgressDialog progress(QStringLiteral("Making a backup..."), parent);
    try {
        return Backups::Make(reason, progress.Callback());
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while making a backup!"), QStringLiteral("Backup Error!"),
                  e);
        return std::nullopt;
    }
}

bool BackUpBeforeRemoving(Backups::Reason reason, QWidget* parent) {
    return BackUp(reason, parent) ||
           MsgBox(QStringLiteral("The backup could not be made. Remove the data anyway?"),
                  MsgButtons::YesNo, MsgIcon::Exclamation) == MsgResult::Yes;
}
