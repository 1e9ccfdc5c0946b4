#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Songwick"));
    QMainWindow window;
    window.show();
    return QApplication::exec();
}
