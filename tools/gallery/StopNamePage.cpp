#include "GalleryPages.h"

#include "controls/stopname/ChimeiCtl_B.h"
#include "platform/glyphs/HostGlyphSource.h"

#include <QGridLayout>
#include <QLabel>
#include <QWidget>

#include <memory>

using fareboard::ChimeiCtl_B;

namespace {

struct Sample {
    const char* name;
    const char* caption;
    int fontMode = 0;
    int mode = 2;
    bool bold = false;
};

// One column in each state worth looking at: the layouts by length, the vertical forms, the
// five face choices, bold, and two names long enough to scroll.
const Sample kSamples[] = {
    {"港", "1 字"},
    {"本町", "2 字 Mode 2"},
    {"本町", "2 字 Mode 0", 0, 0},
    {"市役所", "3 字"},
    {"「山手」", "4 字 括弧"},
    {"センター前", "5 字 ー"},
    {"申町（東）。", "6 字 申（）。"},
    {"ＪＲさくら駅", "FontMode 0", 0},
    {"ＪＲさくら駅", "FontMode 1", 1},
    {"ＪＲさくら駅", "FontMode 2", 2},
    {"ＪＲさくら駅", "FontMode 3", 3},
    {"ＪＲさくら駅", "FontMode 4", 4},
    {"ＪＲさくら駅", "太字 0", 0, 2, true},
    {"ＪＲさくら駅", "太字 1", 1, 2, true},
    {"総合運動公園前", "7 字 スクロール"},
    {"市立病院（東口）前→駅、", "12 字 スクロール"},
};

}  // namespace

QWidget* makeStopNameGalleryPage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(14);
    // All columns share one glyph source, as they would share the host's fonts.
    auto glyphs = std::make_shared<fareboard::HostGlyphSource>();
    const int perRow = 8;
    int i = 0;
    for (const Sample& s : kSamples) {
        auto* ctl = new ChimeiCtl_B(page, glyphs);
        ctl->setObjectName(QStringLiteral("ChimeiCtl(%1)").arg(i));
        ctl->setFixedSize(ctl->windowSize());
        ctl->setFontMode(static_cast<int16_t>(s.fontMode));
        ctl->setMode(static_cast<int16_t>(s.mode));
        ctl->setFontBold(s.bold);
        ctl->SetChimei(QString::fromUtf8(s.name));
        auto* caption = new QLabel(QString::fromUtf8(s.caption), page);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        caption->setWordWrap(true);
        caption->setFixedWidth(64);
        const int row = (i / perRow) * 2;
        const int col = i % perRow;
        grid->addWidget(ctl, row, col, Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(caption, row + 1, col, Qt::AlignHCenter | Qt::AlignTop);
        ++i;
    }
    grid->setRowStretch(grid->rowCount(), 1);
    grid->setColumnStretch(perRow, 1);
    return page;
}
