#include "ui/main/ImageList.h"

#include <QApplication>
#include <QStyle>

QIcon ImageListIcon(int index) {
    QStyle::StandardPixmap pixmap = QStyle::SP_FileIcon;
    switch (index) {
    case 12: // search
        pixmap = QStyle::SP_FileDialogContentsView;
        break;
    case 24: // people
        pixmap = QStyle::SP_DirHomeIcon;
        break;
    case 27: // calendar, diary, journal
        pixmap = QStyle::SP_FileDialogDetailedView;
        break;
    case 35: // thoughts
        pixmap = QStyle::SP_DirOpenIcon;
        break;
    case 45: // events
        pixmap = QStyle::SP_FileDialogInfoView;
        break;
    case 47: // a thought
        pixmap = QStyle::SP_FileIcon;
        break;
    case 48: // groups
        pixmap = QStyle::SP_DirIcon;
        break;
    default:
        break;
    }
    return QApplication::style()->standardIcon(pixmap);
}
