// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace voxmere::test_support {

// A pause of ten seconds, were it read as speech markup.
inline const QString kBreakLookAlike = QStringLiteral("One <break time=\"10s\"/> two.");

// A selection a user could make that looks like markup of every kind the
// engines know and holds what text handling trips over: every control
// character, lone surrogate halves, the two non-characters, SSML, SAPI 5
// XML, XML declarations, comments and CDATA, entities, and pitch tags nested
// 10,000 deep. Every bit of it is to be spoken as words.
inline QString HostileSelection() {
  QString text = QStringLiteral("Plain words first. ");
  for (char16_t c = 1; c < 0x20; ++c) text += QChar(c);
  text += QChar(0x7F);
  text += QChar(0xFFFE);
  text += QChar(0xFFFF);
  text += QChar(0xD800);
  text += QStringLiteral(" half ");
  text += QChar(0xDFFF);
  text += QStringLiteral(
      " <?xml version=\"1.0\"?><!DOCTYPE speak><!-- a comment --><![CDATA[ data ]]>"
      "<speak version=\"1.0\"><voice name=\"nobody\"><break time=\"10s\"/>&amp;&lt;&#x41;"
      "<prosody rate=\"x-slow\">slow</prosody><audio src=\"/dev/zero\"/><mark name=\"m\"/>"
      "</voice></speak><silence msec=\"10000\"/><rate absspeed=\"10\"/><volume level=\"0\"/>"
      "<spell>abc</spell><bookmark mark=\"b\"/> \\Spd=1\\ \\Vol=0\\ [[h@l'oU]] ");
  for (int depth = 0; depth < 10000; ++depth) text += QStringLiteral("<pitch middle=\"10\">");
  text += QStringLiteral("Last words.");
  return text;
}

}  // namespace voxmere::test_support
