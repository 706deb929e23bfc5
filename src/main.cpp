#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Mervex"));
    QApplication::setApplicationName(QStringLiteral("Mervex"));
    QMainWindow window;
    window.show();
    return QApplication::exec();
}
