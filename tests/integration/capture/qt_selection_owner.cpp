// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt application holding a selection on the screen: a line edit showing
// the first argument, all of it selected as the user selects it (the X11
// primary selection, served by Qt). Its window is named by the second
// argument.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() < 3) {
    std::fprintf(stderr, "usage: qt_selection_owner TEXT WINDOW-NAME\n");
    return 2;
  }
  QLineEdit edit(arguments[1]);
  edit.setWindowTitle(arguments[2]);
  edit.resize(300, 30);
  edit.show();
  edit.selectAll();
  // What a mouse selection in the field does on X11.
  QGuiApplication::clipboard()->setText(edit.selectedText(), QClipboard::Selection);
  return QApplication::exec();
}
