#include "thoughts/ThoughtNote.h"

#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/FindFrame.h"
#include "controls/IdleSaver.h"
#include "controls/TextBox.h"
#include "controls/TextFinder.h"
#include "controls/Twips.h"
#include "store/ThoughtStore.h"
#include "thoughts/ThoughtTree.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {
const QString kRoot = QStringLiteral("Thoughts");
// The note's top with the find frame closed, and below the open frame.
constexpr int kTopAlone = 660;
constexpr int kTopBelowFind = 1680;
} // namespace

QString LocationOf(const QTreeWidgetItem* node) {
    QString path = node->text(0);
    for (const QTreeWidgetItem* p = node->parent(); p && ThoughtTree::Key(p) != kRoot;
         p = p->parent())
        path = p->text(0) + QLatin1Char('/') + path;
    return QStringLiteral("thoughts://") + path;
}

ThoughtNote::ThoughtNote(QWidget* frame, TextFinder& finder) : QObject(frame), finder_(finder) {
    txtThoughtNodeLocation = new QLineEdit(frame);
    txtThoughtNodeLocation->setObjectName(QStringLiteral("txtThoughtNodeLocation"));
    txtThoughtNodeLocation->setReadOnly(true);
    txtThoughtNodeLocation->setFrame(false); // 255 twips hold a line of text, not a frame too
    PlaceTwips(txtThoughtNodeLocation, {120, 300, 9015, 255});

    const FindFrame find = MakeFindFrame(frame, QStringLiteral("Find in Thought"),
                                         {"fraThoFindThisNode", "txtThoFind", "cmdFindNext",
                                          "chkThoFindCaseSensitive", "cmdThoFindClose"});
    fraThoFindThisNode = find.frame;
    txtThoFind = find.text;
    cmdFindNext = find.find;
    chkThoFindCaseSensitive = find.caseSensitive;
    cmdThoFindClose = find.close;
    connect(cmdFindNext, &QPushButton::clicked, this, &ThoughtNote::cmdFindNext_Click);
    connect(txtThoFind, &QLineEdit::returnPressed, this, &ThoughtNote::cmdFindNext_Click);
    connect(cmdThoFindClose, &QPushButton::clicked, this, [this] { ShowThoughtsFind(false); });

    rtfThoughts = new QPlainTextEdit(frame);
    rtfThoughts->setObjectName(QStringLiteral("rtfThoughts"));
    rtfThoughts->setAccessibleName(QStringLiteral("Thought"));
    PlaceTwips(rtfThoughts, {120, kTopBelowFind, 9015, 7035});
    // The find frame takes the band the note leaves when it moves down.
    PlaceTwips(fraThoFindThisNode, {120, kTopAlone, 9015, kTopBelowFind - kTopAlone});
    // Any change, typed or loaded, belongs to the node whose note the box holds, so a text is
    // only ever written to its own row. What the user types is also written two seconds
    // after the last keystroke.
    saver_ = new IdleSaver(this, [this] { SaveThought(); });
    // A box made read-only by a failed load holds nothing to write.
    connect(rtfThoughts, &QPlainTextEdit::textChanged, this, [this] {
        if (rtfThoughts->isReadOnly())
            return;
        if (!shownKey_.isEmpty())
            PendingThoughtKey = shownKey_;
        if (!loading_)
            saver_->Edited();
    });
    finder_.SetBox(QString::number(kFunctionThoughts), rtfThoughts);
}

bool ThoughtNote::SaveThought() {
    if (PendingThoughtKey.isEmpty())
        return true;
    try {
        ThoughtStore::SaveNote(PendingThoughtKey, rtfThoughts->toPlainText());
        PendingThoughtKey.clear();
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while Saving Thought!"), QStringLiteral("Error!"), e);
        return false;
    }
}

void ThoughtNote::ShowThoughtsFind(bool show) {
    const int H = WindowHeightTwips(rtfThoughts);
    TwipsRect box = GeometryTwips(rtfThoughts);
    box.top = show ? kTopBelowFind : kTopAlone;
    // A window too low for the box leaves its height as it was.
    if (const int height = show ? H - 4485 : H - 3465; height > 0)
        box.height = height;
    PlaceTwips(rtfThoughts, box);
    fraThoFindThisNode->setVisible(show);
    if (!show)
        finder_.LastFindPos = 0;
}

void ThoughtNote::SetLoadFailed() {
    PendingThoughtKey.clear();
    rtfThoughts->setReadOnly(true);
}

void ThoughtNote::SetFindText(const QString& text) {
    txtThoFind->setText(text);
}

void ThoughtNote::ApplySizes(const std::vector<TwipsSetting>& settings) {
    ApplyTwipsSettings({rtfThoughts, txtThoughtNodeLocation}, settings);
}

int ThoughtNote::Top() const {
    return GeometryTwips(rtfThoughts).top;
}

void ThoughtNote::BeginShowing(const QString& key) {
    shownKey_ = key;
    rtfThoughts->setReadOnly(false);
    ClearNote();
}

void ThoughtNote::Forget(const QString& key) {
    if (PendingThoughtKey == key)
        PendingThoughtKey.clear();
}

void ThoughtNote::ClearNote() {
    const QScopedValueRollback loading(loading_, true);
    rtfThoughts->setPlainText(QString());
}

void ThoughtNote::SetLocation(const QString& location) {
    txtThoughtNodeLocation->setText(location);
}

void ThoughtNote::ShowRoot() {
    shownKey_ = kRoot;
    rtfThoughts->setEnabled(false);
    ClearNote();
    QPalette grey = rtfThoughts->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Button));
    rtfThoughts->setPalette(grey);
    SetLocation(QStringLiteral("thoughts://"));
}

void ThoughtNote::ShowNode(const QTreeWidgetItem* node) {
    rtfThoughts->setEnabled(true);
    rtfThoughts->setPalette(QPalette());
    if (const std::optional<QString> stored = ThoughtStore::NoteOf(ThoughtTree::Key(node))) {
        const QScopedValueRollback loading(loading_, true);
        LoadPlainText(*rtfThoughts, *stored);
    }
    SetLocation(LocationOf(node));
}

void ThoughtNote::cmdFindNext_Click() {
    finder_.FindText(QStringLiteral("N"), QString::number(gCurrentFunction), txtThoFind->text(),
                     chkThoFindCaseSensitive->isChecked());
}
