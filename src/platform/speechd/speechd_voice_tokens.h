// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include "platform/speech_voice.h"
#include "platform/speechd/speechd_voices.h"

namespace voxmere {

// A speech-dispatcher voice as a voice token: the description is the one
// DescribeVoices gave it, in every locale.
class SpeechdObjectToken : public SpeechObjectToken {
 public:
  explicit SpeechdObjectToken(SpeechdVoice voice) : voice_(std::move(voice)) {}
  QString GetDescription(int /*locale*/) const override { return voice_.description; }
  const SpeechdVoice& Voice() const { return voice_; }

 private:
  SpeechdVoice voice_;
};

class SpeechdObjectTokens : public SpeechObjectTokens {
 public:
  using Tokens = std::vector<std::shared_ptr<SpeechdObjectToken>>;

  explicit SpeechdObjectTokens(std::shared_ptr<const Tokens> tokens) : tokens_(std::move(tokens)) {}
  int Count() const override { return static_cast<int>(tokens_->size()); }
  std::shared_ptr<SpeechObjectToken> Item(int index) const override;

 private:
  std::shared_ptr<const Tokens> tokens_;
};

}  // namespace voxmere
