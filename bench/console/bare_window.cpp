// The smallest Qt Widgets program that shows a window: what any start-up is measured against.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(353, 173);
    window.show();
    return app.exec();
}
