#include "speech/m_speech_sinks.h"

#include "speech/m_speech.h"

namespace voxmere {

TMSpeech* TTSNotifySink::Owner() const {
  const std::shared_ptr<TMSpeech*> owner = owner_.lock();
  return owner ? *owner : nullptr;
}

TtsResult TTSNotifySink::AttribChanged(std::uint32_t) { return TtsResult::Ok(); }

TtsResult TTSNotifySink::AudioStart(std::uint64_t) {
  if (TMSpeech* owner = Owner()) owner->HandleAudioStart(*this);
  return TtsResult::Ok();
}

TtsResult TTSNotifySink::AudioStop(std::uint64_t) {
  if (TMSpeech* owner = Owner()) owner->HandleAudioStop(*this);
  return TtsResult::Ok();
}

TtsResult TTSNotifySink::Visual(std::uint64_t, char, char, std::uint32_t hints,
                                const TtsMouth& mouth) {
  if (TMSpeech* owner = Owner()) owner->HandleVisual(*this, hints, mouth);
  return TtsResult::Ok();
}

TtsResult TTSBufNotifySink::TextDataDone(std::uint64_t, std::uint32_t) { return TtsResult::Ok(); }

TtsResult TTSBufNotifySink::TextDataStarted(std::uint64_t) { return TtsResult::Ok(); }

TtsResult TTSBufNotifySink::BookMark(std::uint64_t, std::uint32_t) { return TtsResult::Ok(); }

TtsResult TTSBufNotifySink::WordPosition(std::uint64_t, std::uint32_t byte_offset) {
  const std::shared_ptr<TMSpeech*> owner = owner_.lock();
  if (owner && *owner) (*owner)->HandleWordPosition(byte_offset);
  return TtsResult::Ok();
}

}  // namespace voxmere
