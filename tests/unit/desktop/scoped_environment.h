// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <map>
#include <optional>
#include <string>

namespace voxmere {

// Sets or unsets environment variables for one test and puts the old values
// back afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        qputenv(name.c_str(), *value);
      } else {
        qunsetenv(name.c_str());
      }
    }
  }

  void Set(const char* name, const QByteArray& value) {
    Save(name);
    qputenv(name, value);
  }
  void Unset(const char* name) {
    Save(name);
    qunsetenv(name);
  }

 private:
  void Save(const char* name) {
    if (saved_.contains(name)) return;
    saved_[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
  }

  std::map<std::string, std::optional<QByteArray>> saved_;
};

}  // namespace voxmere
