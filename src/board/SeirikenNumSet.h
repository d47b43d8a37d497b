#pragma once

#include <QString>

#include <cstdint>

namespace fareboard {

class Form1;
class MessageBox;

// The ticket-number text: decimal digits turned full-width, two of them with `zeroPad`.
QString seiriNumText(int number, bool zeroPad);

// Writes the 24 ticket-number labels by numbering scheme `mode` (0..11): label 1 is a number in
// the digit face for 0 and 1, a "no ticket" text in the proportional gothic face otherwise.
// Failures are reported in an error box; labels written before stay written.
void SeirikenNumSet(Form1& board, int16_t mode, int16_t zeroPad, MessageBox& messageBox);

}  // namespace fareboard
