#pragma once

#include <QIcon>
#include <QList>
#include <QString>

// The pictures the windows' tabs and the function bar show (ilsIcons16, ilsIcons32), named
// for what they stand for; the values are their places in those image lists.
enum class Picture {
    Search = 12,
    People = 24,
    Diary = 27,
    Thoughts = 35,
    Events = 45,
    Thought = 47,
    Groups = 48,
};
QIcon PictureIcon(Picture picture);

// Shapes the drawn icons take.
enum class Glyph {
    Lines,
    Magnifier,
    Cabinet,
    Root,
    FolderClosed,
    FolderOpen,
    Node,
    NoteFolder,
    Note,
    App
};
QIcon GlyphIcon(Glyph shape, const QColor& colour);
// Pimora's own icon: a calendar page with a note on it, for the window, the tray and the
// desktop.
QIcon AppIcon();

// An image list: pictures under keys, found by their 1-based index as the controls that use
// it refer to them.
class ImageList {
public:
    void Add(const QString& key, const QIcon& icon) { images_.append({key, icon}); }
    int Count() const { return static_cast<int>(images_.size()); }
    QString Key(int index) const { return images_.value(index - 1).key; }
    QIcon Icon(int index) const { return images_.value(index - 1).icon; }

private:
    struct Image {
        QString key;
        QIcon icon;
    };
    QList<Image> images_;
};
