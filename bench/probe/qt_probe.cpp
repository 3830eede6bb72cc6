// The yardstick for the window's start: the least a Qt Widgets program with
// a window like the calculator's does before its window is mapped (the
// application object, a main window with a menu bar holding one menu, a
// label, shown). bench/startup_time.sh times it beside the calculator.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Qt probe");
    window.menuBar()->addMenu("&File")->addAction("E&xit", &window, &QMainWindow::close);
    window.setCentralWidget(new QLabel("Qt probe", &window));
    window.show();
    return app.exec();
}
