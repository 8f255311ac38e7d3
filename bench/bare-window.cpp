// The floor for start-up and memory: the toolkit's least for a window of the main window's size.
// Nothing is drawn in it but the style's background.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.setFixedSize(633, 539);
    window.show();
    return QApplication::exec();
}
