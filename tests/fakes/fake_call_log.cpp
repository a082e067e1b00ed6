// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_call_log.h"

#include <utility>

namespace voxmere {

bool FakeCallLog::Matches(const std::string& pattern, const std::string& call) {
  if (call == pattern) return true;
  return call.size() > pattern.size() && call.compare(0, pattern.size(), pattern) == 0 &&
         call[pattern.size()] == '(';
}

std::optional<QString> FakeCallLog::Record(const std::string& call) {
  calls_.push_back(call);
  for (Rule& rule : rules_) {
    if (!Matches(rule.pattern, call)) continue;
    if (rule.skip > 0) {
      --rule.skip;
      continue;
    }
    if (rule.times == 0) continue;
    if (rule.times > 0) --rule.times;
    return rule.error_text;
  }
  return std::nullopt;
}

void FakeCallLog::FailOn(const std::string& pattern, const QString& error_text, int skip,
                         int times) {
  rules_.push_back({pattern, error_text, skip, times});
}

std::vector<std::string> FakeCallLog::Take() { return std::exchange(calls_, {}); }

int FakeCallLog::CountOf(const std::string& pattern) const {
  int count = 0;
  for (const std::string& call : calls_) count += Matches(pattern, call) ? 1 : 0;
  return count;
}

}  // namespace voxmere
