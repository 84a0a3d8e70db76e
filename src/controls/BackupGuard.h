#pragma once

#include "store/Backups.h"

#include <QString>
#include <memory>
#include <optional>

class QWidget;

// Backups as the windows make them: a copy that takes more than half a second shows its
// progress, and one that fails is reported once ("Error while making a backup!").
std::optional<Backups::Entry> BackUp(Backups::Reason reason, QWidget* parent);

// Before data is removed in bulk: true when the copy was made, or when the user, told that it
// could not be, still wants the data removed.
bool BackUpBeforeRemoving(Backups::Reason reason, QWidget* parent);

// A progress dialog for a copy, shown once the copy has run half a second.
class CopyProgressDialog {
public:
    CopyProgressDialog(const QString& label, QWidget* parent);
    ~CopyProgressDialog();
    CopyProgressDialog(const CopyProgressDialog&) = delete;
    CopyProgressDialog& operator=(const CopyProgressDialog&) = delete;
    Backups::Progress Callback();

private:
    struct Private;
    std::unique_ptr<Private> d_;
};
