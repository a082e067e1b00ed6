// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace voxmere {

// The application object. Every event goes through notify(); an exception a
// handler let escape is caught there and handed to the error handler (the
// options window's ShowUnhandledError), so none crosses Qt's event loop.
class VoxmereApplication : public QApplication {
  Q_OBJECT

 public:
  using ErrorHandler = std::function<void(const std::exception&)>;

  VoxmereApplication(int& argc, char** argv);

  // Null: escaped errors are dropped silently.
  void SetErrorHandler(ErrorHandler handler) { handler_ = std::move(handler); }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void Report(const std::exception& error);

  ErrorHandler handler_;
};

}  // namespace voxmere
