// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

#include "platform/speechd/speechd_address.h"

// Readable command lines in test failures.
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
  *out << '"' << bytes.toStdString() << '"';
}

namespace voxmere {

// A small stand-in for speech-dispatcher on a Unix socket of its own: it
// answers the SSIP commands libspeechd and our plain connections send,
// records them, begins queued messages one at a time with events, and can
// behave like the daemon does when things go wrong (stopped, no sound,
// gone away).
class FakeSsipServer {
 public:
  FakeSsipServer();
  ~FakeSsipServer();
  FakeSsipServer(const FakeSsipServer&) = delete;
  FakeSsipServer& operator=(const FakeSsipServer&) = delete;

  SpeechdAddress Address() const;

  // False: accepts nothing and reads nothing, like a stopped daemon.
  void SetAnswering(bool answering);
  // False: messages begin and never end, like a daemon without sound.
  void SetSoundWorks(bool works);
  // True: a begun message ends at once; false: it speaks until EndMessage
  // or a cancel.
  void SetAutoEnd(bool auto_end);
  // Module names and their LIST SYNTHESIS_VOICES lines.
  void SetVoices(std::map<QByteArray, std::vector<QByteArray>> voices);
  // Closes every connection, like a daemon that died.
  void DropClients();
  // Ends a message that is speaking.
  void EndMessage(int message_id);

  // Every command line received, in order; the text of a message appears as
  // one entry "TEXT <text>".
  std::vector<QByteArray> Commands() const;
  // Commands received since the last call.
  std::vector<QByteArray> TakeCommands();
  int Connections() const;
  // The id of the last message queued.
  int LastMessage() const;

 private:
  struct Client {
    int fd = -1;
    int id = 0;
    QByteArray input;
    bool receiving_text = false;
    QByteArray text;
    bool events = false;
    QByteArray module = "espeak-ng";
    std::deque<int> queue;
    int speaking = 0;
  };

  void Loop();
  void Accept();
  bool Serve(Client& client);  // false: close the client
  void Handle(Client& client, const QByteArray& line);
  void FinishText(Client& client);
  void StartNext(Client& client);
  void Send(Client& client, const QByteArray& bytes);
  void Event(Client& client, int code, int message_id, const char* word);
  void Run(std::function<void()> action);
  void Wake();

  QTemporaryDir folder_;
  int listener_ = -1;
  int wake_fd_ = -1;
  std::thread thread_;

  mutable std::mutex mutex_;
  std::condition_variable ran_;
  bool stopping_ = false;
  bool answering_ = true;
  bool sound_works_ = true;
  bool auto_end_ = true;
  std::map<QByteArray, std::vector<QByteArray>> voices_;
  std::vector<QByteArray> commands_;
  std::size_t taken_ = 0;
  std::vector<std::function<void()>> actions_;
  std::uint64_t actions_requested_ = 0;
  std::uint64_t actions_done_ = 0;
  int connections_ = 0;
  int last_message_ = 0;

  // Server thread only.
  std::vector<Client> clients_;
  int next_client_ = 1;
};

}  // namespace voxmere
