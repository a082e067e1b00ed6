// SPDX-License-Identifier: GPL-3.0-or-later
#include "speechd_test_support.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace voxmere {

double Ms(TestClock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

StreamEvents::StreamEvents(SpeechVoiceServer& server) : server_(server) {
  cookie_ = server_.Advise([this](int dispatch_id, const QVariantList& arguments) {
    events_.push_back({dispatch_id, arguments.value(0).toInt(), TestClock::now()});
  });
}

StreamEvents::~StreamEvents() { server_.Unadvise(cookie_); }

bool StreamEvents::Has(int dispatch_id, int stream) const {
  for (const Event& event : events_) {
    if (event.dispatch_id == dispatch_id && event.stream == stream) return true;
  }
  return false;
}

TestClock::time_point StreamEvents::WaitFor(int dispatch_id, int stream,
                                            std::chrono::milliseconds timeout) {
  const bool came = test_support::WaitUntil([&] { return Has(dispatch_id, stream); }, timeout);
  EXPECT_TRUE(came) << "no event " << dispatch_id << " for stream " << stream;
  for (const Event& event : events_) {
    if (event.dispatch_id == dispatch_id && event.stream == stream) return event.at;
  }
  return TestClock::now();
}

PrivateSpeechd::PrivateSpeechd(const QProcessEnvironment& environment) : environment_(environment) {
  Start();
}

PrivateSpeechd::~PrivateSpeechd() { Kill(); }

SpeechdAddress PrivateSpeechd::Address() const {
  SpeechdAddress address;
  address.socket_path = folder_.filePath(QStringLiteral("speechd.sock"));
  return address;
}

void PrivateSpeechd::Start() {
  ASSERT_TRUE(folder_.isValid());
  const QString socket = Address().socket_path;
  QFile::remove(socket);
  // In the foreground (-s), as our child: its process id is the daemon's
  // (with -d the pid file names the process that forked it).
  process_ = std::make_unique<QProcess>();
  process_->setProcessEnvironment(environment_);
  process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_->setStandardOutputFile(QProcess::nullDevice());
  // Its own pid file too: one in the default place would make a daemon
  // spawned there believe it is already running.
  process_->start(
      QStringLiteral("speech-dispatcher"),
      {QStringLiteral("-s"), QStringLiteral("-t"), QStringLiteral("0"), QStringLiteral("-c"),
       QStringLiteral("unix_socket"), QStringLiteral("-S"), socket, QStringLiteral("-P"),
       folder_.filePath(QStringLiteral("speechd.pid")), QStringLiteral("-L"), folder_.path()});
  ASSERT_TRUE(process_->waitForStarted(10000)) << "speech-dispatcher did not start";
  ASSERT_TRUE(
      test_support::WaitUntil([&] { return QFileInfo::exists(socket); }, std::chrono::seconds(10)))
      << "speech-dispatcher made no socket";
}

void PrivateSpeechd::Stop() { ::kill(static_cast<pid_t>(process_->processId()), SIGSTOP); }

void PrivateSpeechd::Continue() { ::kill(static_cast<pid_t>(process_->processId()), SIGCONT); }

void PrivateSpeechd::Kill() {
  if (!process_ || process_->state() == QProcess::NotRunning) return;
  Continue();
  process_->terminate();
  // A daemon stuck without sound ignores SIGTERM.
  if (!process_->waitForFinished(2000)) {
    process_->kill();
    process_->waitForFinished(5000);
  }
  process_.reset();
}

}  // namespace voxmere
