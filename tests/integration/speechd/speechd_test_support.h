// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <vector>

#include "platform/speech_voice.h"
#include "platform/speechd/speechd_address.h"
#include "support/test_application.h"
#include "support/wait_until.h"

namespace voxmere {

using TestClock = std::chrono::steady_clock;

double Ms(TestClock::duration duration);

// The stream events a voice object sends, stamped when the loop delivers them.
class StreamEvents {
 public:
  struct Event {
    int dispatch_id;
    int stream;
    TestClock::time_point at;
  };

  explicit StreamEvents(SpeechVoiceServer& server);
  ~StreamEvents();

  const std::vector<Event>& All() const { return events_; }
  bool Has(int dispatch_id, int stream) const;
  // Waits (pumping events) for the event; returns when it came.
  TestClock::time_point WaitFor(int dispatch_id, int stream, std::chrono::milliseconds timeout);
  void Clear() { events_.clear(); }

 private:
  SpeechVoiceServer& server_;
  int cookie_;
  std::vector<Event> events_;
};

// A speech-dispatcher of the test's own, on its own socket, so the test may
// stop it, kill it or start it without an audio server.
class PrivateSpeechd {
 public:
  explicit PrivateSpeechd(
      const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
  ~PrivateSpeechd();

  SpeechdAddress Address() const;
  void Stop();      // SIGSTOP
  void Continue();  // SIGCONT
  // Ends the daemon (it may be started again with Start).
  void Kill();
  void Start();

 private:
  QProcessEnvironment environment_;
  QTemporaryDir folder_;
  std::unique_ptr<QProcess> process_;
};

}  // namespace voxmere
