#include "GalleryPages.h"

#include <QApplication>
#include <QLabel>
#include <QTabWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTabWidget tabs;
    tabs.setWindowTitle(QStringLiteral("fareboard gallery"));
#ifdef FAREBOARD_GALLERY_DIGIT
    tabs.addTab(makeDigitGalleryPage(&tabs), QStringLiteral("M_Degit"));
#endif
#ifdef FAREBOARD_GALLERY_STOPNAME
    tabs.addTab(makeStopNameGalleryPage(&tabs), QStringLiteral("ChimeiCtl_B"));
#endif
    if (tabs.count() == 0)
        tabs.addTab(new QLabel(QStringLiteral("No display controls are built yet."), &tabs), QStringLiteral("-"));
    // A tab can be chosen from the command line so screenshots can be taken without clicking.
    const QStringList args = app.arguments();
    const int i = args.indexOf(QStringLiteral("--tab"));
    if (i >= 0 && i + 1 < args.size())
        tabs.setCurrentIndex(args.at(i + 1).toInt());
    tabs.show();
    return app.exec();
}
