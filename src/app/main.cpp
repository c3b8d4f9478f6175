#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QLabel window(QStringLiteral("Tarvix " TARVIX_VERSION));
  window.setWindowTitle(QStringLiteral("Tarvix"));
  window.resize(480, 240);
  window.show();
  return app.exec();
}
