// The Thoughts function as a user meets it: the main window on a fresh database, switched to
// Thoughts, its controls found by name, the clock stopped.
#pragma once

#include "support/AppFolder.h"
#include "support/Render.h"
#include "support/ScriptedPrompter.h"
#include "support/Windows.h"

#include "common/AppGlobals.h"
#include "data/modDB.h"
#include "platform/Clock.h"
#include "thoughts/ThoughtTree.h"
#include "thoughts/ThoughtsPart.h"
#include "ui/main/frmMain.h"
#include "ui/widgets/TabStrip.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

class Thoughts : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::Set(QDateTime(QDate(2026, 12, 5), QTime(9, 30, 0)));
        Exec(QStringLiteral("insert into pmpref (pwd) values ('')"));
    }
    void TearDown() override {
        if (window)
            CloseWindow();
        Clock::Reset();
    }
    // Rows: name, caption, parent, note.
    void Row(const QString& name, const QString& caption, const QString& parent,
             const QString& note = QString()) {
        auto q = [](QString s) { return QLatin1Char('\'') + s.replace('\'', "''") + '\''; };
        Exec(QStringLiteral("insert into pmthoughts (thoname, thocaption, thoparent, thodata) "
                            "values (%1, %2, %3, %4)")
                 .arg(q(name), q(caption), q(parent), q(note)));
    }
    // Loads the window and switches to Thoughts, which builds the tree.
    void Open() {
        window = std::make_unique<frmMain>();
        window->Load();
        window->Action(QStringLiteral("mnuFunctionsThoughts"))->trigger();
        part = window->findChild<ThoughtsPart*>();
        tree = Named<ThoughtTree>(window.get(), "tvwThoughts");
        note = Named<QPlainTextEdit>(window.get(), "rtfThoughts");
        location = Named<QLineEdit>(window.get(), "txtThoughtNodeLocation");
        tabs = Named<TabStrip>(window.get(), "tabThoughts");
    }
    void CloseWindow() {
        frmMain* w = window.release();
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->close();
        DeleteClosedWindows();
    }
    QTreeWidgetItem* Node(const QString& key) const {
        QTreeWidgetItem* n = tree->Node(key);
        EXPECT_TRUE(n) << "no node " << key.toStdString();
        return n;
    }
    // A click on a node, as the user makes it.
    void Click(const QString& key) {
        QTreeWidgetItem* n = Node(key);
        for (QTreeWidgetItem* p = n->parent(); p; p = p->parent())
            p->setExpanded(true);
        tree->scrollToItem(n);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(n).center());
    }
    void Type(const QString& text) {
        note->setFocus();
        note->moveCursor(QTextCursor::End);
        note->insertPlainText(text);
    }
    void Popup(const char* item) { window->Action(QString::fromLatin1(item))->trigger(); }
    QString NoteOf(const QString& name) {
        return Scalar(QStringLiteral("select thodata from pmthoughts where thoname = '") + name +
                      QStringLiteral("'"))
            .toString();
    }
    // "caption[image/selected]" of a node's children, in order.
    QStringList Children(const QString& key) const {
        QStringList out;
        QTreeWidgetItem* n = tree->Node(key);
        for (int i = 0; n && i < n->childCount(); ++i)
            out << QStringLiteral("%1[%2/%3]")
                       .arg(n->child(i)->text(0))
                       .arg(ThoughtTree::Image(n->child(i)))
                       .arg(ThoughtTree::SelectedImage(n->child(i)));
        return out;
    }
    void ExpectBox(const QString& text, MsgButtons buttons = MsgButtons::OK,
                   MsgResult answer = MsgResult::OK,
                   const QString& title = QStringLiteral("Pimora"), MsgIcon icon = MsgIcon::None) {
        prompter->Expect(text, title, icon, buttons, answer);
    }

    AppFolder folder;
    ScopedPrompter prompter;
    std::unique_ptr<frmMain> window;
    ThoughtsPart* part = nullptr;
    ThoughtTree* tree = nullptr;
    QPlainTextEdit* note = nullptr;
    QLineEdit* location = nullptr;
    TabStrip* tabs = nullptr;
};
