// SPDX-License-Identifier: GPL-3.0-or-later
// An application that copies a large selection at once: a window named by
// the second argument that, on Ctrl+C, puts the whole content of the file
// named by the first argument on the clipboard as text (served by Qt, in
// pieces). A GTK editor needs about a second to copy 20 MB; this one needs
// none, so what is timed is the reader's own part.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QWidget>
#include <cstdio>

namespace {

class Owner : public QWidget {
 public:
  explicit Owner(QString text) : text_(std::move(text)) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Copy)) QGuiApplication::clipboard()->setText(text_);
  }

 private:
  QString text_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  QFile file(arguments.value(1));
  if (arguments.size() < 3 || !file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "usage: huge_selection_owner FILE WINDOW-NAME\n");
    return 2;
  }
  Owner owner(QString::fromUtf8(file.readAll()));
  owner.setWindowTitle(arguments[2]);
  owner.resize(300, 60);
  owner.show();
  return QApplication::exec();
}
