// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

#include "platform/session_end.h"

namespace voxmere {

// A session manager in memory: a test asks the query as the desktop would at
// log-off and sees the answer.
class FakeSessionEnd : public SessionEnd {
 public:
  void SetQueryHandler(QueryHandler handler) override { handler_ = std::move(handler); }
  bool RequestInteraction() override;

  // Asks whether the session may end, as the session manager does. True
  // (the session ends) when no handler is set or the handler throws, as the
  // real one does.
  bool QueryEnd();

  // Whether a request for interaction is granted (true unless set).
  void SetInteractionGranted(bool granted) { interaction_granted_ = granted; }
  int InteractionRequests() const { return interaction_requests_; }
  // Requests made while no query was running (a caller's mistake).
  int StrayInteractionRequests() const { return stray_interaction_requests_; }
  bool HasQueryHandler() const { return static_cast<bool>(handler_); }

 private:
  QueryHandler handler_;
  bool asking_ = false;
  bool interaction_granted_ = true;
  int interaction_requests_ = 0;
  int stray_interaction_requests_ = 0;
};

}  // namespace voxmere
