// The console's controls at their places. Sizes and places are the console's own pixels
// (15 twips each); controls inside a frame are placed relative to it.
#include "console/frmCtl.h"

#include "platform/Typefaces.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

namespace fareboard {
namespace {

const QColor kKeyFace(0xD4, 0xD4, 0xD0);
const QColor kYellowFace(0xF5, 0xD9, 0x3A);
const QColor kDisplayOrange(0xFF, 0x8C, 0x1A);

QString indexed(const char* name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

void setFace(QWidget* w, const QColor& face, const QColor& text = Qt::black)
{
    // Only the enabled look changes, so a disabled key still looks disabled.
    QPalette pal = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Button, face);
        pal.setColor(group, QPalette::ButtonText, text);
    }
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& place)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(place);
    return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QRect& place)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(place);
    return b;
}

QListWidget* digitList(QWidget* parent, const QString& name, const QRect& place)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setGeometry(place);
    list->setFrameShape(QFrame::Box);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Each digit fills the one-item-high list exactly, so no sliver of the next one shows.
    const int itemHeight = place.height() - 2 * list->frameWidth();
    for (int d = 0; d <= 9; ++d) {
        auto* item = new QListWidgetItem(QString::number(d), list);
        item->setSizeHint(QSize(place.width(), itemHeight));
    }
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // One item high: the wheel turns the digit, a click chooses it.
    list->setCurrentRow(0);
    return list;
}

}  // namespace

void frmCtl::buildEntryPanels()
{
    // Both panels lie at the same place; the keypad starts in front.
    for (int i = 0; i < 2; ++i) {
        auto* f = new QFrame(this);
        f->setObjectName(indexed("Frame1", i));
        f->setGeometry(2, -4, 133, 175);
        f->setFrameShape(QFrame::StyledPanel);
        f->setAutoFillBackground(true);
        f->installEventFilter(this);
        frame1_[static_cast<size_t>(i)] = f;
    }

    // The list panel.
    QFrame* lists = frame1_[0];
    auto* heading = label(lists, QStringLiteral("Label5"), QStringLiteral("系統設定"), {15, 17, 102, 25});
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    heading->setFont(typeface(Typeface::PGothic, 11, true));
    label(lists, QStringLiteral("Label6(0)"), QStringLiteral("系　統"), {16, 47, 47, 16})->setAlignment(Qt::AlignCenter);
    label(lists, QStringLiteral("Label6(1)"), QStringLiteral("区間"), {95, 47, 24, 16})->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 5; ++i) {
        QListWidget* l = digitList(lists, indexed("List2", i), {6 + 13 * i, 61, 31, 21});
        connect(l, &QListWidget::itemClicked, this, [this, i] { List2_Click(i); });
        list2_[static_cast<size_t>(i)] = l;
    }
    auto* separator = label(lists, QStringLiteral("Picture1"), QStringLiteral("-"), {71, 55, 11, 31});
    separator->setAlignment(Qt::AlignCenter);
    separator->setAutoFillBackground(true);
    for (int i = 0; i < 3; ++i) {
        QListWidget* l = digitList(lists, indexed("List3", i), {82 + 16 * i, 61, 15, 21});
        connect(l, &QListWidget::itemClicked, this, [this, i] { List3_Click(i); });
        list3_[static_cast<size_t>(i)] = l;
    }
    command1_[0] = button(lists, indexed("Command1", 0), QStringLiteral("リセット"), {7, 97, 123, 21});

    // The keypad panel: black, with the route and section displays above the keys.
    QFrame* pad = frame1_[1];
    QPalette black = pad->palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    pad->setPalette(black);
    auto* displayBack = label(pad, QStringLiteral("Label9"), QString(), {17, 11, 103, 22});
    displayBack->setAutoFillBackground(true);
    QFont displayFont = typeface(Typeface::Gothic, 12, true);
    const QRect displays[3] = {{15, 12, 54, 21}, {75, 12, 10, 10}, {86, 12, 31, 18}};
    for (int i = 0; i < 3; ++i) {
        QLabel* l = label(pad, indexed("Label2", i), i == 1 ? QStringLiteral("-") : QString(), displays[i]);
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, Qt::black);
        pal.setColor(QPalette::WindowText, kDisplayOrange);
        l->setPalette(pal);
        l->setAutoFillBackground(true);
        l->setFont(displayFont);
        l->setAlignment(i == 2 ? (Qt::AlignRight | Qt::AlignVCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
        label2_[static_cast<size_t>(i)] = l;
    }
    label2_[1]->setAlignment(Qt::AlignCenter);
    // Keys: 7 8 9 / 4 5 6 / 1 2 3 / 0 系統 区間.
    const int layout[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, 10, 11}};
    const int rowTop[4] = {38, 65, 93, 121};
    const int colLeft[3] = {22, 54, 86};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int k = layout[r][c];
            const QString caption = k < 10 ? QString::number(k) : (k == 10 ? QStringLiteral("系統") : QStringLiteral("区間"));
            const int height = (r == 3 && c == 0) ? 27 : 26;
            QPushButton* key = button(pad, indexed("CommandButton1", k), caption, {colLeft[c], rowTop[r], 30, height});
            setFace(key, k < 10 ? kKeyFace : kYellowFace);
            key->setFont(typeface(Typeface::PGothic, k < 10 ? 10 : 8, true));
            key->setFocusPolicy(Qt::NoFocus);
            connect(key, &QPushButton::clicked, this, [this, k] { CommandButton1_Click(k); });
            keys_[static_cast<size_t>(k)] = key;
        }
    }
    command1_[1] = button(pad, indexed("Command1", 1), QStringLiteral("リセット"), {22, 150, 92, 21});
    for (int i = 0; i < 2; ++i)
        connect(command1_[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { Reset(i); });
    pad->raise();
}

void frmCtl::buildControls()
{
    setFont(typeface(Typeface::PGothic, 9));
    buildEntryPanels();

    const char* stepCaptions[2] = {"データ戻し", "データ送り"};
    const QRect stepPlaces[2] = {{138, 33, 43, 50}, {182, 33, 46, 50}};
    for (int i = 0; i < 2; ++i) {
        QPushButton* b = button(this, indexed("Command2", i), QString::fromUtf8(stepCaptions[i]), stepPlaces[i]);
        setFace(b, kYellowFace);
        // Two short lines, as on the real console's square buttons.
        b->setText(QString::fromUtf8(stepCaptions[i]).insert(3, QLatin1Char('\n')));
        b->setEnabled(false);
        connect(b, &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
        command2_[static_cast<size_t>(i)] = b;
    }

    check1_ = new QCheckBox(QStringLiteral("表示消去"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setGeometry(142, 5, 85, 25);
    check1_->setEnabled(false);
    connect(check1_, &QCheckBox::clicked, this, [this] { Check1_Click(); });

    frame2_ = new QGroupBox(QStringLiteral("バックライト"), this);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    frame2_->setGeometry(231, 4, 113, 48);
    const char* lightCaptions[3] = {"OFF", "ON1", "ON2"};
    const QColor lightColours[3] = {Qt::black, QColor(0xFF, 0, 0), QColor(0, 0, 0xFF)};
    for (int i = 0; i < 3; ++i) {
        QPushButton* b = button(frame2_, indexed("Option4", i), QString::fromLatin1(lightCaptions[i]),
                                {5 + (i == 0 ? 0 : (i == 1 ? 36 : 71)), 22, 34, 22});
        b->setCheckable(true);
        b->setAutoExclusive(true);
        QPalette pal = b->palette();
        pal.setColor(QPalette::ButtonText, lightColours[i]);
        b->setPalette(pal);
        connect(b, &QPushButton::clicked, this, [this, i] { Option4_Click(i); });
        option4_[static_cast<size_t>(i)] = b;
    }
    option4_[0]->setChecked(true);

    frame6_ = new QGroupBox(this);
    frame6_->setObjectName(QStringLiteral("Frame6"));
    frame6_->setGeometry(230, 52, 115, 94);
    label(frame6_, QStringLiteral("Label3(0)"), QStringLiteral("ｽｸﾛｰﾙ速度"), {4, 10, 65, 14});
    label(frame6_, QStringLiteral("Label3(1)"), QStringLiteral("ｽｸﾛｰﾙ間隔"), {4, 43, 64, 14});
    const QRect valuePlaces[2] = {{70, 9, 38, 16}, {70, 41, 38, 16}};
    const QRect barPlaces[2] = {{8, 27, 96, 12}, {9, 60, 94, 12}};
    const int minimum[2] = {1, 0};
    const int maximum[2] = {2000, 3000};
    for (int i = 0; i < 2; ++i) {
        QLabel* value = label(frame6_, indexed("Label1", i), QString::number(minimum[i]), valuePlaces[i]);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        label1_[static_cast<size_t>(i)] = value;
        auto* bar = new QScrollBar(Qt::Horizontal, frame6_);
        bar->setObjectName(indexed("HScroll1", i));
        bar->setGeometry(barPlaces[i]);
        bar->setRange(minimum[i], maximum[i]);
        bar->setValue(minimum[i]);
        // Only real changes reach the stop-name column, so restoring an equal value keeps
        // the column's own speed.
        connect(bar, &QScrollBar::valueChanged, this, [this, i] { HScroll1_Change(i); });
        hscroll1_[static_cast<size_t>(i)] = bar;
    }
    check2_ = new QCheckBox(QStringLiteral("深夜料金"), frame6_);
    check2_->setObjectName(QStringLiteral("Check2"));
    check2_->setGeometry(7, 75, 101, 18);

    grpM_Tape_ = new QGroupBox(this);
    grpM_Tape_->setObjectName(QStringLiteral("grpM_Tape"));
    grpM_Tape_->setGeometry(139, 84, 86, 85);
    cmdTapeBack_ = button(grpM_Tape_, QStringLiteral("cmdTapeBack"), QStringLiteral("戻し"), {5, 15, 39, 46});
    cmdTapeNext_ = button(grpM_Tape_, QStringLiteral("cmdTapeNext"), QStringLiteral("送り"), {44, 15, 38, 46});
    cmdTapeStop_ = button(grpM_Tape_, QStringLiteral("cmdTapeStop"), QStringLiteral("■"), {5, 62, 39, 20});
    cmdTapeSet_ = button(grpM_Tape_, QStringLiteral("cmdTapeSet"), QStringLiteral("調整"), {44, 62, 38, 20});
    connect(cmdTapeNext_, &QPushButton::clicked, this, &frmCtl::cmdTapeNext_Click);
    connect(cmdTapeBack_, &QPushButton::clicked, this, &frmCtl::cmdTapeBack_Click);
    connect(cmdTapeStop_, &QPushButton::clicked, this, &frmCtl::cmdTapeStop_Click);
    connect(cmdTapeSet_, &QPushButton::clicked, this, &frmCtl::cmdTapeSet_Click);

    command4_ = button(this, QStringLiteral("Command4"), QStringLiteral("設定..."), {230, 150, 56, 20});
    command8_ = button(this, QStringLiteral("Command8"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), {286, 150, 58, 20});
    connect(command4_, &QPushButton::clicked, this, &frmCtl::Command4_Click);
    connect(command8_, &QPushButton::clicked, this, &frmCtl::Command8_Click);

    check4_ = button(this, QStringLiteral("Check4"), QStringLiteral(">>"), {329, 3, 22, 20});
    check4_->setCheckable(true);
    check4_->setToolTip(QStringLiteral("整理券プレビューを開きます"));
    connect(check4_, &QPushButton::toggled, this, [this] { Check4_Click(); });
    // The console usually sits at the screen's right edge, where the opened preview would fall
    // off the screen; a click moves the window left just enough. Restored places stay as saved.
    connect(check4_, &QPushButton::clicked, this, [this] { keepOnScreen(); });

    label(this, QStringLiteral("Label4"), QStringLiteral("整理券プレビュー"), {358, 9, 90, 15});
    picSeirikenPrev_ = label(this, QStringLiteral("picSeirikenPrev"), QString(), {361, 26, 220, 93});
    picSeirikenPrev_->setFrameShape(QFrame::Panel);
    picSeirikenPrev_->setFrameShadow(QFrame::Sunken);
    picSeirikenPrev_->installEventFilter(this);
    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setGeometry(362, 144, 200, 20);

    mnuHide_ = new QMenu(this);
    mnuHide_->setObjectName(QStringLiteral("MnuHide"));
    QAction* copy = mnuHide_->addAction(QStringLiteral("コピー(&C)"));
    copy->setObjectName(QStringLiteral("MnuHideCopy"));
    connect(copy, &QAction::triggered, this, &frmCtl::MnuHideCopy_Click);
}

}  // namespace fareboard
