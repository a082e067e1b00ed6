// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_session_end.h"

namespace voxmere {

bool FakeSessionEnd::RequestInteraction() {
  if (!asking_) {
    ++stray_interaction_requests_;
    return false;
  }
  ++interaction_requests_;
  return interaction_granted_;
}

bool FakeSessionEnd::QueryEnd() {
  QueryHandler handler = handler_;
  if (!handler) return true;
  asking_ = true;
  bool may_end = true;
  try {
    may_end = handler();
  } catch (...) {
    may_end = true;
  }
  asking_ = false;
  return may_end;
}

}  // namespace voxmere
