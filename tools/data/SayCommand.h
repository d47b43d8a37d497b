#pragma once

#include <QStringList>
#include <QTextStream>

namespace fareboard::datatool {

// fareboard-data say TEXT... [--folder DIR] [--wav OUT.wav] [--voice open-jtalk|espeak-ng]:
// prints, one line per text, the katakana the tape's voice will pronounce after the readings
// of DIR/readings.csv, and with --wav writes the texts spoken one after another.
int runSay(const QStringList& arguments, QTextStream& out, QTextStream& err);

extern const char* const kSayUsage;
extern const char* const kSayHelp;

}  // namespace fareboard::datatool
