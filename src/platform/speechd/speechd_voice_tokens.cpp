// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_voice_tokens.h"

#include "platform/exception.h"

namespace voxmere {

std::shared_ptr<SpeechObjectToken> SpeechdObjectTokens::Item(int index) const {
  if (index < 0 || index >= Count()) {
    throw Exception(QStringLiteral("There is no voice number %1 (%2 voices are installed).")
                        .arg(index)
                        .arg(Count()));
  }
  return (*tokens_)[static_cast<size_t>(index)];
}

}  // namespace voxmere
