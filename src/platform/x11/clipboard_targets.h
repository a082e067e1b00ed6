// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace voxmere {

// Which of the formats ("targets") an X clipboard owner offers are worth
// keeping, and how its text is read.

// False for the protocol's own targets (TARGETS, MULTIPLE, TIMESTAMP, ...),
// for facts about the owner (HOSTNAME, USER, LENGTH, ...) and for the text
// forms that putting the text back offers again by itself
// (UTF8_STRING, STRING, TEXT, text/plain); true for every other format.
bool IsSavedTarget(const QByteArray& target);

// The text targets to try, best first: those of UTF8_STRING,
// "text/plain;charset=utf-8", STRING and "text/plain" that `offered` holds,
// or all four when the owner did not say what it offers.
QByteArrayList TextTargets(const QByteArrayList& offered);

// The text in the data of a text target: STRING is Latin-1, the others
// UTF-8. The text ends at the first zero character, as Windows clipboard
// text does.
QString DecodeText(const QByteArray& target, const QByteArray& data);

}  // namespace voxmere
