// The Thoughts function as a user meets it: the main window on a fresh database, switched to
// Thoughts, its controls found by name, the clock stopped.
#pragma once

#include "support/Windows.h"

#include "controls/TabStrip.h"
#include "platform/Clock.h"
#include "thoughts/ThoughtTree.h"
#include "thoughts/ThoughtsPart.h"

class Thoughts : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Clock::Set(QDateTime(QDate(2026, 12, 5), QTime(9, 30, 0)));
    }
    void TearDown() override {
        if (window)
            CloseForGood(window);
        Clock::Reset();
    }
    // A row of pmthoughts: name, caption, parent, note.
    void Row(QString name, QString caption, QString parent, QString note = {}) {
        Exec(QString("insert into pmthoughts (thoname, thocaption, thoparent, thodata) values "
                     "('%1', '%2', '%3', '%4')")
                 .arg(name.replace('\'', "''"), caption.replace('\'', "''"),
                      parent.replace('\'', "''"), note.replace('\'', "''")));
    }
    // Loads the window and switches to Thoughts, which builds the tree.
    void Open() {
        WindowTest::Open();
        Menu("mnuFunctionsThoughts");
        part = window->findChild<ThoughtsPart*>();
        tree = C<ThoughtTree>("tvwThoughts");
        note = C<QPlainTextEdit>("rtfThoughts");
        location = C<QLineEdit>("txtThoughtNodeLocation");
        tabs = C<TabStrip>("tabThoughts");
    }
    QTreeWidgetItem* Node(const QString& key) const {
        QTreeWidgetItem* n = tree->Node(key);
        EXPECT_TRUE(n) << "no node " << key.toStdString();
        return n;
    }
    QString Current() const { return ThoughtTree::Key(tree->currentItem()); }
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
    QString NoteOf(const QString& name) {
        return Scalar("select thodata from pmthoughts where thoname = '" + name + "'").toString();
    }
    // "caption[image/selected]" of a node's children, in order.
    QStringList Children(const QString& key) const {
        QStringList out;
        QTreeWidgetItem* n = tree->Node(key);
        for (int i = 0; n && i < n->childCount(); ++i)
            out << QString("%1[%2/%3]")
                       .arg(n->child(i)->text(0))
                       .arg(ThoughtTree::Image(n->child(i)))
                       .arg(ThoughtTree::SelectedImage(n->child(i)));
        return out;
    }
    ThoughtsPart* part = nullptr;
    ThoughtTree* tree = nullptr;
    QPlainTextEdit* note = nullptr;
    QLineEdit* location = nullptr;
    TabStrip* tabs = nullptr;
};
