// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_session.h"

#include <algorithm>
#include <cstdlib>

#include "platform/exception.h"
#include "platform/speechd/audio_server_check.h"
#include "platform/speechd/speechd_log.h"
#include "platform/speechd/speechd_session_core.h"
#include "platform/speechd/ssip_socket.h"

namespace voxmere {
namespace {

// Silent, and short: the daemon only sends its end once the output module
// has played it, which needs a working audio server.
constexpr char kSoundCheck[] = "<speak><break time=\"1ms\"/></speak>";

}  // namespace

std::unique_ptr<SpeechdSession> SpeechdSession::Open(const SpeechdAddress& address, bool autospawn,
                                                     const SpeechdTimeouts& timeouts,
                                                     QObject* receiver, StreamHandler handler) {
  const Clock::time_point deadline = Clock::now() + timeouts.open;
  // libspeechd would wait forever for a stopped daemon's first reply: ask
  // first, with a deadline.
  bool listening = false;
  {
    SsipSocket ping;
    const Clock::time_point ping_deadline = std::min(deadline, Clock::now() + timeouts.ping);
    try {
      listening = ping.Connect(address, ping_deadline);
      if (listening) ping.Command("QUIT", ping_deadline);
    } catch (const Exception& e) {
      throw Exception(QStringLiteral("Speech Dispatcher at %1 cannot be used: %2.")
                          .arg(address.ToText(), e.Message()));
    }
  }
  if (!listening && !autospawn) {
    throw Exception(
        QStringLiteral("Speech Dispatcher is not running at %1.").arg(address.ToText()));
  }
  if (!listening) {
    // A daemon started while no audio server answers never plays, not even
    // once the server is back (speech-dispatcher 0.11): its own sound output
    // stays unopened, it takes texts and sends no event for them, and when it
    // quits for want of clients it hangs, still holding the socket and
    // answering nobody; a reload hangs it the same way. So none is started
    // then: this reading fails at once, and the first one after the server
    // is back starts a daemon that plays. Where the session has no audio
    // server at all (speech-dispatcher set to play through ALSA), one is
    // started as always.
    QString no_audio;
    const auto audio_wait = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::min(deadline - Clock::now(), Clock::duration(timeouts.ping)));
    if (AudioServerExpected() && !AudioServerAnswers(audio_wait, &no_audio)) {
      throw Exception(
          QStringLiteral("Speech Dispatcher is not running at %1, and is not started while no "
                         "audio server answers (%2).")
              .arg(address.ToText(), no_audio));
    }
    qCDebug(SpeechdLog, "Nothing listens at %s; libspeechd is to start the daemon",
            qUtf8Printable(address.ToText()));
  }
  auto core = std::make_shared<SpeechdSessionCore>(receiver, std::move(handler));
  core->Register();
  std::unique_ptr<SpeechdSession> session(new SpeechdSession(core, timeouts));
  session->Connect(address, autospawn, deadline);
  session->ProbeSound(deadline);
  return session;
}

SpeechdSession::SpeechdSession(std::shared_ptr<SpeechdSessionCore> core,
                               const SpeechdTimeouts& timeouts)
    : core_(std::move(core)), timeouts_(timeouts) {
  worker_ = std::thread([core = core_] { core->WorkerMain(); });
}

SpeechdSession::~SpeechdSession() {
  core_->Unregister();
  if (core_->Close(timeouts_.close)) {
    worker_.join();
  } else {
    // Stuck inside libspeechd; it holds the core and cleans up if it returns.
    worker_.detach();
  }
}

bool SpeechdSession::Alive() const { return core_->Alive(); }

bool SpeechdSession::Speaking() const { return core_->Speaking(); }

bool SpeechdSession::SurvivesStart(int message_id, std::chrono::milliseconds begin,
                                   std::chrono::milliseconds grace) {
  return core_->SurvivesStart(static_cast<size_t>(message_id), Clock::now() + begin, grace);
}

void SpeechdSession::Run(const std::function<void(SpeechdLink&)>& request,
                         Clock::time_point deadline) {
  core_->Run(request, deadline);
}

void SpeechdSession::Connect(const SpeechdAddress& address, bool autospawn,
                             Clock::time_point deadline) {
  Run(
      [address, autospawn, core = core_](SpeechdLink&) {
        QByteArray path = address.socket_path.toLocal8Bit();
        QByteArray host = address.host.toUtf8();
        SPDConnectionAddress spd_address{};
        if (address.method == SpeechdAddress::Method::kUnixSocket) {
          spd_address.method = SPD_METHOD_UNIX_SOCKET;
          spd_address.unix_socket_name = path.data();
        } else {
          spd_address.method = SPD_METHOD_INET_SOCKET;
          spd_address.inet_socket_host = host.data();
          spd_address.inet_socket_port = address.port;
        }
        char* error = nullptr;
        SPDConnection* connection = spd_open2("voxmere", "main", nullptr, SPD_MODE_THREADED,
                                              &spd_address, autospawn ? 1 : 0, &error);
        if (connection == nullptr) {
          const QString reason = QString::fromLocal8Bit(error != nullptr ? error : "");
          std::free(error);
          throw Exception(QStringLiteral("Speech Dispatcher cannot be reached at %1. %2")
                              .arg(address.ToText(), reason)
                              .trimmed());
        }
        core->Adopt(connection);
      },
      deadline);
  Run(
      [](SpeechdLink& link) {
        link.Check(
            spd_set_notification_on(link.Connection(),
                                    static_cast<SPDNotification>(SPD_BEGIN | SPD_END | SPD_CANCEL)),
            QStringLiteral("to send events"));
        link.Check(spd_set_data_mode(link.Connection(), SPD_DATA_SSML),
                   QStringLiteral("SSML texts"));
      },
      deadline);
}

void SpeechdSession::ProbeSound(Clock::time_point deadline) {
  core_->BeginProbe();
  Run(
      [](SpeechdLink& link) {
        if (spd_say(link.Connection(), SPD_MESSAGE, kSoundCheck) < 0) {
          link.Check(-1, QStringLiteral("the sound check"));
        }
      },
      deadline);
  const bool ended = core_->WaitProbeEnded(deadline);
  core_->EndProbe();
  if (!ended) {
    // A daemon that was started while no audio server ran stays mute after
    // the server is back: say so, since only its restart helps then.
    constexpr std::chrono::milliseconds kAudioCheck(200);
    QString no_audio;
    const QString reason =
        AudioServerAnswers(kAudioCheck, &no_audio)
            ? QStringLiteral(
                  "Speech Dispatcher cannot play sound although the audio server answers: a "
                  "silent test message never finished. A daemon started while no audio server "
                  "ran stays so until it is restarted.")
            : QStringLiteral(
                  "Speech Dispatcher cannot play sound: a silent test message never finished. Is "
                  "an audio server (PulseAudio or PipeWire) running?");
    core_->MarkDead(reason);
    throw Exception(reason);
  }
}

}  // namespace voxmere
