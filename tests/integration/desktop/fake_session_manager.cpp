// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_session_manager.h"

// Qt before the X headers: their macros (Status, Bool) break Qt's headers.
#include "support/wait_until.h"

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace voxmere {
namespace {

// --- The manager's side: runs in the child process only. ---

int g_events = -1;  // pipe to the test process

struct Client {
  SmsConn connection = nullptr;
  bool shutdown_round = false;
  bool cancelled = false;
};
std::vector<IceConn> g_connections;
std::vector<Client*> g_clients;

void Report(const std::string& line) {
  const std::string text = line + "\n";
  if (::write(g_events, text.data(), text.size()) < 0) ::_exit(3);
}

void IgnoreIoError(IceConn) {}  // the default one exits the process

Bool AcceptAnyHost(char*) { return True; }

Status OnRegisterClient(SmsConn connection, SmPointer, char* previous_id) {
  std::free(previous_id);
  char* id = SmsGenerateClientID(connection);
  // Without a resolvable host name libSM makes no id; any unique text does.
  static char fallback[] = "1voxmere-fake-client";
  SmsRegisterClientReply(connection, id ? id : fallback);
  std::free(id);
  Report("registered");
  // The protocol asks for a first local save from every new client.
  SmsSaveYourself(connection, SmSaveLocal, False, SmInteractStyleNone, False);
  return 1;
}

void OnInteractRequest(SmsConn connection, SmPointer, int dialog_type) {
  Report(dialog_type == SmDialogError ? "interact-request error" : "interact-request normal");
  SmsInteract(connection);
}

void OnInteractDone(SmsConn, SmPointer data, Bool cancel_shutdown) {
  static_cast<Client*>(data)->cancelled = cancel_shutdown;
  Report(cancel_shutdown ? "interact-done cancel=1" : "interact-done cancel=0");
}

void OnSaveYourselfDone(SmsConn connection, SmPointer data, Bool success) {
  auto* client = static_cast<Client*>(data);
  Report(success ? "save-yourself-done success=1" : "save-yourself-done success=0");
  // Stands in for Die, which would end the test's application.
  if (client->shutdown_round && client->cancelled) {
    SmsShutdownCancelled(connection);
  } else {
    SmsSaveComplete(connection);
  }
  client->shutdown_round = false;
  client->cancelled = false;
}

void OnSaveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}

void OnPhase2Request(SmsConn connection, SmPointer) { SmsSaveYourselfPhase2(connection); }

// Forgets a client and closes its connection (deferred by libICE when this
// runs inside its message dispatch).
void DropClient(IceConn ice) {
  for (Client* client : g_clients) {
    if (SmsGetIceConnection(client->connection) != ice) continue;
    SmsCleanUp(client->connection);
    std::erase(g_clients, client);
    delete client;
    break;
  }
  std::erase(g_connections, ice);
  IceSetShutdownNegotiation(ice, False);
  IceCloseConnection(ice);
  Report("closed");
}

void OnCloseConnection(SmsConn connection, SmPointer, int count, char** reasons) {
  SmFreeReasons(count, reasons);
  DropClient(SmsGetIceConnection(connection));
}

void OnSetProperties(SmsConn, SmPointer, int count, SmProp** properties) {
  for (int i = 0; i < count; ++i) SmFreeProperty(properties[i]);
  std::free(properties);
}

void OnDeleteProperties(SmsConn, SmPointer, int count, char** names) {
  for (int i = 0; i < count; ++i) std::free(names[i]);
  std::free(names);
}

void OnGetProperties(SmsConn connection, SmPointer) { SmsReturnProperties(connection, 0, nullptr); }

Status OnNewClient(SmsConn connection, SmPointer, unsigned long* mask, SmsCallbacks* callbacks,
                   char**) {
  auto* client = new Client{connection};
  g_clients.push_back(client);
  *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
          SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
          SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
          SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
  *callbacks = {};
  callbacks->register_client = {OnRegisterClient, client};
  callbacks->interact_request = {OnInteractRequest, client};
  callbacks->interact_done = {OnInteractDone, client};
  callbacks->save_yourself_request = {OnSaveYourselfRequest, client};
  callbacks->save_yourself_phase2_request = {OnPhase2Request, client};
  callbacks->save_yourself_done = {OnSaveYourselfDone, client};
  callbacks->close_connection = {OnCloseConnection, client};
  callbacks->set_properties = {OnSetProperties, client};
  callbacks->delete_properties = {OnDeleteProperties, client};
  callbacks->get_properties = {OnGetProperties, client};
  return 1;
}

void SendSave(char style_letter) {
  const int style = style_letter == 'a'   ? SmInteractStyleAny
                    : style_letter == 'e' ? SmInteractStyleErrors
                                          : SmInteractStyleNone;
  for (Client* client : g_clients) {
    client->shutdown_round = true;
    client->cancelled = false;
    SmsSaveYourself(client->connection, SmSaveBoth, True, style, False);
  }
}

[[noreturn]] void RunManager(int commands, int events) {
  g_events = events;
  IceSetIOErrorHandler(IgnoreIoError);
  char error[256] = "";
  if (!SmsInitialize("voxmere-tests", "1.0", OnNewClient, nullptr, AcceptAnyHost, sizeof error,
                     error)) {
    Report(std::string("error ") + error);
    ::_exit(1);
  }
  int count = 0;
  IceListenObj* listeners = nullptr;
  if (!IceListenForConnections(&count, &listeners, sizeof error, error)) {
    Report(std::string("error ") + error);
    ::_exit(1);
  }
  // Local sockets only: no TCP port for a test.
  std::vector<IceListenObj> local;
  for (int i = 0; i < count; ++i) {
    char* address = IceGetListenConnectionString(listeners[i]);
    if (std::strncmp(address, "local/", 6) == 0 || std::strncmp(address, "unix/", 5) == 0) {
      IceSetHostBasedAuthProc(listeners[i], AcceptAnyHost);
      local.push_back(listeners[i]);
    }
    std::free(address);
  }
  char* ids = IceComposeNetworkIdList(static_cast<int>(local.size()), local.data());
  Report(std::string("ids ") + ids);
  std::free(ids);

  for (;;) {
    std::vector<pollfd> waiting{{commands, POLLIN, 0}};
    for (IceListenObj listener : local) {
      waiting.push_back({IceGetListenConnectionNumber(listener), POLLIN, 0});
    }
    const std::vector<IceConn> connections = g_connections;
    for (IceConn connection : connections) {
      waiting.push_back({IceConnectionNumber(connection), POLLIN, 0});
    }
    if (::poll(waiting.data(), waiting.size(), -1) < 0) continue;
    if (waiting[0].revents) {
      char command[2];
      if (::read(commands, command, 2) != 2 || command[0] == 'q') {
        // Removes the sockets from /tmp/.ICE-unix.
        IceFreeListenObjs(count, listeners);
        ::_exit(0);
      }
      SendSave(command[1]);
    }
    for (size_t i = 0; i < local.size(); ++i) {
      if (!waiting[1 + i].revents) continue;
      IceAcceptStatus status;
      IceConn connection = IceAcceptConnection(local[i], &status);
      if (!connection) continue;
      // Finish the connection set-up before anything else.
      IceConnectStatus state;
      while ((state = IceConnectionStatus(connection)) == IceConnectPending) {
        if (IceProcessMessages(connection, nullptr, nullptr) != IceProcessMessagesSuccess) break;
      }
      if (state == IceConnectAccepted) {
        g_connections.push_back(connection);
      } else {
        IceCloseConnection(connection);
      }
    }
    for (size_t i = 0; i < connections.size(); ++i) {
      if (!waiting[1 + local.size() + i].revents) continue;
      if (IceProcessMessages(connections[i], nullptr, nullptr) == IceProcessMessagesIOError) {
        DropClient(connections[i]);
      }
    }
  }
}

}  // namespace

// --- The test's side. ---

FakeSessionManager::~FakeSessionManager() {
  if (pid_ <= 0) return;
  if (::write(command_fd_, "q-", 2) != 2) ::kill(pid_, SIGTERM);
  ::close(command_fd_);
  ::close(event_fd_);
  ::waitpid(pid_, nullptr, 0);
}

bool FakeSessionManager::Start() {
  int commands[2], events[2];
  if (::pipe(commands) != 0 || ::pipe(events) != 0) return false;
  pid_ = ::fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    ::close(commands[1]);
    ::close(events[0]);
    RunManager(commands[0], events[1]);
  }
  ::close(commands[0]);
  ::close(events[1]);
  command_fd_ = commands[1];
  event_fd_ = events[0];
  ::fcntl(event_fd_, F_SETFL, ::fcntl(event_fd_, F_GETFL) | O_NONBLOCK);
  // Its first report names where it listens; nothing else runs yet.
  pollfd waiting{event_fd_, POLLIN, 0};
  for (int tries = 0; tries < 100 && lines_.isEmpty(); ++tries) {
    ::poll(&waiting, 1, 100);
    if (!ReadLines()) break;
  }
  if (lines_.isEmpty() || !lines_.first().startsWith("ids ")) return false;
  network_ids_ = lines_.takeFirst().mid(4);
  return !network_ids_.isEmpty();
}

void FakeSessionManager::SendShutdownSave(Interaction interaction) {
  const char style = interaction == Interaction::kAny      ? 'a'
                     : interaction == Interaction::kErrors ? 'e'
                                                           : 'n';
  const char command[2] = {'s', style};
  if (::write(command_fd_, command, 2) != 2) std::perror("fake session manager");
}

bool FakeSessionManager::ReadLines() {
  char buffer[512];
  ssize_t got;
  while ((got = ::read(event_fd_, buffer, sizeof buffer)) > 0) pending_.append(buffer, got);
  qsizetype end;
  while ((end = pending_.indexOf('\n')) >= 0) {
    lines_ << QString::fromUtf8(pending_.left(end));
    pending_.remove(0, end + 1);
  }
  return got != 0;  // 0: the manager is gone
}

QStringList FakeSessionManager::EventsUntil(const QString& last, int timeout_ms) {
  QStringList events;
  test_support::WaitUntil(
      [&] {
        ReadLines();
        while (!lines_.isEmpty()) {
          events << lines_.takeFirst();
          if (events.last().startsWith(last)) return true;
        }
        return false;
      },
      std::chrono::milliseconds(timeout_ms));
  return events;
}

}  // namespace voxmere
