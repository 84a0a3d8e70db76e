#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;

// The function list on the left of the main window: one bar with its items.
class ListBar : public QWidget {
    Q_OBJECT
public:
    explicit ListBar(QWidget* parent = nullptr);

    void SetBar(const QString& key, const QString& caption);
    void AddItem(const QString& key, const QString& caption, const QIcon& icon,
                 const QString& secondText);
    void Clear();
    int ItemCount() const;
    QString ItemCaption(int index) const;
    QString ItemKey(int index) const;
    QListWidget* Items() const { return items_; }

signals:
    // A click, Enter or Space on an item.
    void ItemClick(const QString& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* header_;
    QListWidget* items_;
};
