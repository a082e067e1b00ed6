// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace voxmere {

// One ordered record of the calls a group of fakes receives ("Speak(hi,1)",
// "Inject(\Spd=180\)"), shared by the fakes of one test, plus the calls a test
// wants to fail.
class FakeCallLog {
 public:
  static constexpr const char* kDefaultError = "Unspecified error";

  // Records a call. Returns the error text when a failure rule matches it.
  std::optional<QString> Record(const std::string& call);
  std::optional<QString> Record(const QString& call) { return Record(call.toStdString()); }

  // Calls matching `pattern` fail: a pattern matches a call that equals it or
  // starts with it followed by "(" ("Item" matches "Item(2)"). The first
  // `skip` matches pass; then `times` matches fail (-1: every one).
  void FailOn(const std::string& pattern, const QString& error_text = kDefaultError, int skip = 0,
              int times = -1);
  void ClearFailures() { rules_.clear(); }

  const std::vector<std::string>& Calls() const { return calls_; }
  void Clear() { calls_.clear(); }
  // The calls recorded so far, leaving the log empty.
  std::vector<std::string> Take();
  int CountOf(const std::string& pattern) const;

  static bool Matches(const std::string& pattern, const std::string& call);

 private:
  struct Rule {
    std::string pattern;
    QString error_text;
    int skip;
    int times;
  };

  std::vector<std::string> calls_;
  std::vector<Rule> rules_;
};

}  // namespace voxmere
