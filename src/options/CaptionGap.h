#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace fareboard {

// Some captions read as a sentence with a drop-down list inside it ("... 　　　　 コマ目に
//表示する。"): the caption keeps a run of spaces where the list goes, and the list is placed
// over that run.

struct TextRun {
    int start;
    int length;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

// The runs of two or more spaces (ordinary or ideographic) in `caption`, in order.
QList<TextRun> spaceRuns(const QString& caption);

// Places `inset` (a sibling of `host`) over run number `runIndex` of the host's caption, as
// wide as the run and centred on the host's height. The host is a check box, an option button
// or a label with a one-line caption, already at its place.
void placeOnCaptionGap(QWidget* inset, const QWidget* host, int runIndex);

}  // namespace fareboard
