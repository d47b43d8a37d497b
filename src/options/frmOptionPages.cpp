// The controls of the options dialog and where they sit. Positions are in pixels inside each
// control's frame; the client area is 638 x 474.

#include "options/frmOption.h"

#include "controls/digit/M_Degit.h"
#include "options/CaptionGap.h"
#include "options/ColorButton.h"
#include "options/PageButton.h"
#include "options/PlacedWidget.h"
#include "options/WrappingRadioButton.h"

#include <QCheckBox>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace fareboard {

namespace {

QString indexed(const char* name, int index) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index); }

using widgets::make;

QLabel* label(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = make<QLabel>(parent, name, geometry, caption);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(alignment);
    return l;
}

// A remark that may run over several lines.
QLabel* note(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    QLabel* l = label(parent, name, caption, geometry, Qt::AlignLeft | Qt::AlignTop);
    l->setWordWrap(true);
    return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    auto* b = make<QPushButton>(parent, name, geometry, caption);
    // Enter in a text box must not press whichever button happens to be nearest.
    b->setAutoDefault(false);
    return b;
}

QPushButton* chooserButton(QWidget* parent, const QString& name, const QRect& geometry)
{
    return button(parent, name, QStringLiteral("..."), geometry);
}

QComboBox* dropDownList(QWidget* parent, const QString& name, const QRect& geometry = {})
{
    auto* c = make<QComboBox>(parent, name, geometry);
    c->setEditable(false);
    c->setMaxVisibleItems(16);
    return c;
}

// Option buttons of one frame form one group. Qt would otherwise group every automatically
// exclusive button below a parent, also those in frames nested inside it.
void exclusive(QObject* owner, std::initializer_list<QAbstractButton*> buttons)
{
    auto* group = new QButtonGroup(owner);
    for (QAbstractButton* b : buttons) {
        b->setAutoExclusive(false);
        group->addButton(b);
    }
    group->setExclusive(true);
}

// The clear button shows a cross, the way the symbol face of the desktop draws its letter "r".
QIcon crossIcon(const QColor& color)
{
    QPixmap pixmap(10, 10);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 1.6));
    painter.drawLine(QPointF(1.5, 1.5), QPointF(8.5, 8.5));
    painter.drawLine(QPointF(8.5, 1.5), QPointF(1.5, 8.5));
    return QIcon(pixmap);
}

}  // namespace

void frmOption::buildPageButtons()
{
    static const char16_t* const tabCaptions[6] = {
        u"運賃データと　放送用データ", u"パネルと整理券番号表示", u"デジタル部品と情報用数字",
        u"停名の設定",                 u"サウンド",               u"　　整理券　　　プレビュー",
    };
    static const char16_t* const pageCaptions[6] = {
        u"運賃データと放送用データ",
        u"パネルと整理券番号表示",
        u"デジタル部品と情報用数字",
        u"停名の設定",
        u"サウンド（鳴らさなくてもいい項目にはファイル名を入れないで下さい）",
        u"整理券プレビュー",
    };
    for (int i = 0; i < 6; ++i) {
        option1_[std::size_t(i)] = make<PageButton>(this, indexed("Option1", i), QRect(4 + i * 105, 4, 103, 38),
                                                    QString::fromUtf16(tabCaptions[i]));
        frame1_[std::size_t(i)] =
            make<QGroupBox>(this, indexed("Frame1", i), QRect(4, 46, 630, kPageHeight), QString::fromUtf16(pageCaptions[i]));
    }
    exclusive(this, {option1_[0], option1_[1], option1_[2], option1_[3], option1_[4], option1_[5]});
    command4_ = button(this, QStringLiteral("Command4"), QStringLiteral("OK"), QRect(542, 46 + kPageHeight + 6, 90, 26));
}

void frmOption::buildDataFolderPage(QGroupBox* page)
{
    static const char16_t* const captions[2] = {u"運賃データ(*.hy3)のあるフォルダー：",
                                                u"放送用データ(*****Tp.csv)のあるフォルダー："};
    static const char16_t* const openCaptions[2] = {u"上記運賃データの場所をエクスプローラで開く",
                                                    u"上記放送用データの場所をエクスプローラで開く"};
    for (int i = 0; i < 2; ++i) {
        const int top = 28 + i * 100;
        label(page, indexed("Label3", i), QString::fromUtf16(captions[i]), QRect(12, top, 600, 18));
        text2_[std::size_t(i)] = make<QLineEdit>(page, indexed("Text2", i), QRect(12, top + 20, 568, 22));
        command3_[std::size_t(i)] = chooserButton(page, indexed("Command3", i), QRect(584, top + 20, 32, 22));
        command10_[std::size_t(i)] =
            button(page, indexed("Command10", i), QString::fromUtf16(openCaptions[i]), QRect(12, top + 48, 300, 26));
    }
}

void frmOption::buildPanelPage(QGroupBox* page)
{
    frame4_ = make<QGroupBox>(page, QStringLiteral("Frame4"), QRect(8, 22, 300, 262), QStringLiteral("本体パネル"));
    option3_[0] = make<QRadioButton>(frame4_, indexed("Option3", 0), QRect(10, 20, 284, 20),
                                     QStringLiteral("内蔵しているパネルを自動で割り当てる"));
    option3_[1] =
        make<QRadioButton>(frame4_, indexed("Option3", 1), QRect(10, 40, 284, 20), QStringLiteral("個別に設定する"));
    exclusive(frame4_, {option3_[0], option3_[1]});
    option3_[0]->setChecked(true);

    // Per backlight state: the option for the built-in picture, the one for the user's own.
    struct StateFrame {
        const char16_t* caption;
        int builtIn;
        int user;
    };
    static constexpr StateFrame states[3] = {
        {u"バックライトOFF時の画像：", 7, 6},
        {u"ON1の画像：", 3, 2},
        {u"ON2の画像：", 4, 5},
    };
    for (int i = 0; i < 3; ++i) {
        const StateFrame& s = states[i];
        QGroupBox* frame = make<QGroupBox>(frame4_, indexed("Frame6", i), QRect(10, 64 + i * 64, 280, 60),
                                           QString::fromUtf16(s.caption));
        frame6_[std::size_t(i)] = frame;
        option3_[std::size_t(s.builtIn)] =
            make<QRadioButton>(frame, indexed("Option3", s.builtIn), QRect(8, 19, 60, 18), QStringLiteral("内蔵"));
        option3_[std::size_t(s.user)] = make<QRadioButton>(frame, indexed("Option3", s.user), QRect(72, 19, 150, 18),
                                                           QStringLiteral("ユーザーパネル"));
        exclusive(frame, {option3_[std::size_t(s.builtIn)], option3_[std::size_t(s.user)]});
        option3_[std::size_t(s.builtIn)]->setChecked(true);
        txtSelectPanel_[std::size_t(i)] = make<QLineEdit>(frame, indexed("txtSelectPanel", i), QRect(8, 37, 228, 20));
        command6_[std::size_t(i)] = chooserButton(frame, indexed("Command6", i), QRect(240, 37, 32, 20));
        // The automatic panels are chosen at creation, so the per-state pictures start put away.
        frame->setEnabled(false);
        frame->setVisible(false);
    }

    check1_ = make<QCheckBox>(page, QStringLiteral("Check1"), QRect(316, 22, 306, 20),
                              QStringLiteral("整理券番号自動表示機能を使用"));
    frame3_ = make<QGroupBox>(page, QStringLiteral("Frame3"), QRect(316, 44, 306, 134), QString());
    frame3_->setEnabled(false);
    label(frame3_, indexed("Label4", 5), QStringLiteral("整理券番号表示設定"), QRect(8, 6, 290, 18));
    combo2_ = dropDownList(frame3_, QStringLiteral("Combo2"), QRect(8, 24, 240, 22));
    check2_ = make<QCheckBox>(frame3_, QStringLiteral("Check2"), QRect(8, 52, 290, 20),
                              QStringLiteral("数字が1桁の番号は頭に0を付け足す"));
    label(frame3_, indexed("Label4", 1), QStringLiteral("整理券番号のバックライトカラー(文字色)"), QRect(8, 78, 290, 18));
    static const char16_t* const stateCaptions[3] = {u"OFF：", u"ON1：", u"ON2："};
    static constexpr int32_t labelColors[3] = {0x008000, 0x00C000, 0xC0FFC0};
    for (int i = 0; i < 3; ++i) {
        const int left = 8 + i * 96;
        label(frame3_, indexed("Label4", 2 + i), QString::fromUtf16(stateCaptions[i]), QRect(left, 102, 40, 24),
              Qt::AlignRight | Qt::AlignVCenter);
        command5_[std::size_t(i)] =
            make<ColorButton>(frame3_, indexed("Command5", i), QRect(left + 42, 100, 48, 28), labelColors[i]);
    }

    note(page, QStringLiteral("Label15"),
         QStringLiteral("※ユーザーパネルに直接番号をデザインしている場合には上記チェックをOFFにしてください。"),
         QRect(316, 182, 306, 32));
    note(page, indexed("Label5", 1),
         QStringLiteral("※ユーザーパネルには、現在の機種に対応の画像をご使用ください。大きいパネルの場合、はみ出た部"
                        "分（右・下）が切り取られます。逆に小さいパネルの場合は左上から表示され、余白部分はグレーにな"
                        "りますのでご注意ください。"),
         QRect(316, 216, 306, 70));
}

void frmOption::buildDigitPage(QGroupBox* page)
{
    QGroupBox* info =
        make<QGroupBox>(page, indexed("Frame5", 1), QRect(8, 22, 614, 156), QStringLiteral("情報用数字の設定"));
    check3_[0] = make<QCheckBox>(
        info, indexed("Check3", 0), QRect(10, 20, 420, 24),
        QStringLiteral("停留所の順番（区間・個数）を、　　　　　　  コマ目に表示する。"));
    check3_[4] = make<QCheckBox>(info, indexed("Check3", 4), QRect(440, 20, 164, 24), QStringLiteral("0から数える"));
    check3_[1] = make<QCheckBox>(info, indexed("Check3", 1), QRect(10, 46, 420, 24),
                                 QStringLiteral("整理券番号を、  　　　　　　コマ目に表示する。"));
    check3_[2] = make<QCheckBox>(info, indexed("Check3", 2), QRect(10, 72, 420, 24),
                                 QStringLiteral("系統番号を、  　　　　　　コマ目に表示する。"));
    check3_[3] = make<QCheckBox>(
        info, indexed("Check3", 3), QRect(10, 98, 594, 24),
        QStringLiteral("データの　　　  　　　　　列目の値を、  　　　　　　コマ目に表示する。"));
    for (int i = 0; i < 5; ++i) {
        combo4_[std::size_t(i)] = dropDownList(info, indexed("Combo4", i));
        combo4_[std::size_t(i)]->setEnabled(false);
    }
    check3_[4]->setEnabled(false);
    // Each list sits in the gap its sentence leaves for it.
    placeOnCaptionGap(combo4_[0], check3_[0], 0);
    placeOnCaptionGap(combo4_[1], check3_[1], 0);
    placeOnCaptionGap(combo4_[2], check3_[2], 0);
    placeOnCaptionGap(combo4_[4], check3_[3], 0);
    placeOnCaptionGap(combo4_[3], check3_[3], 1);
    note(info, QStringLiteral("Label7"),
         QStringLiteral("デジタル数字の桁ずらし、ゼロ埋めの設定は各部品をダブルクリックして設定してください。また、これ"
                        "ら情報用数字は運賃の表示よりも優先されます。"),
         QRect(10, 122, 594, 30));

    QGroupBox* colors = make<QGroupBox>(
        page, indexed("Frame5", 0), QRect(8, 182, 614, 104),
        QStringLiteral("デジタル部品の背景色と文字色（時計つきの場合はこの部分も同色となります）"));
    static const char16_t* const colorCaptions[3] = {u"背景色：", u"未発光時の文字色：", u"発光時の文字色："};
    static constexpr int32_t digitColors[3] = {0x808080, 0x969696, 0x72D2F8};
    for (int i = 0; i < 3; ++i) {
        const int top = 20 + i * 27;
        label(colors, indexed("Label6", i), QString::fromUtf16(colorCaptions[i]), QRect(10, top, 130, 26),
              Qt::AlignRight | Qt::AlignVCenter);
        command8_[std::size_t(i)] =
            make<ColorButton>(colors, indexed("Command8", i), QRect(144, top, 64, 26), digitColors[i]);
    }
    label(colors, indexed("Label6", 3), QStringLiteral("プレビュー"), QRect(260, 22, 120, 18));
    mDegit1_ = new M_Degit(library_, colors);
    mDegit1_->setObjectName(QStringLiteral("M_Degit1"));
    mDegit1_->move(260, 44);
}

void frmOption::buildChimeiPage(QGroupBox* page)
{
    static const char16_t* const colorCaptions[2] = {u"背景色：", u"文字色："};
    static constexpr int32_t chimeiColors[2] = {0x808080, 0x00FFFF};
    for (int i = 0; i < 2; ++i) {
        const int top = 30 + i * 34;
        label(page, indexed("Label8", i), QString::fromUtf16(colorCaptions[i]), QRect(12, top, 130, 26),
              Qt::AlignRight | Qt::AlignVCenter);
        command9_[std::size_t(i)] =
            make<ColorButton>(page, indexed("Command9", i), QRect(146, top, 64, 26), chimeiColors[i]);
    }
    label(page, QStringLiteral("Label9"), QStringLiteral("フォントオプション："), QRect(12, 102, 130, 24),
          Qt::AlignRight | Qt::AlignVCenter);
    combo3_ = dropDownList(page, QStringLiteral("Combo3"), QRect(146, 102, 280, 24));
    check4_ = make<QCheckBox>(page, QStringLiteral("Check4"), QRect(146, 136, 400, 22),
                              QStringLiteral("太字（表示の不具合はサポート対象外）"));
}

void frmOption::buildSoundPage(QGroupBox* page)
{
    static const char16_t* const captions[2] = {u"系統設定時のサウンド：", u"リセット時のサウンド："};
    for (int i = 0; i < 2; ++i) {
        const int top = 22 + i * 24;
        label(page, indexed("Label1", i), QString::fromUtf16(captions[i]), QRect(10, top, 150, 22),
              Qt::AlignRight | Qt::AlignVCenter);
        txtSelectSound_[std::size_t(i)] = make<QLineEdit>(page, indexed("txtSelectSound", i), QRect(164, top, 414, 22));
        cmdSelectSound_[std::size_t(i)] = chooserButton(page, indexed("cmdSelectSound", i), QRect(582, top, 32, 22));
    }

    option5_[1] = make<PageButton>(page, indexed("Option5", 1), QRect(10, 72, 190, 22),
                                   QStringLiteral("送り・戻し時のサウンド..."));
    option5_[0] =
        make<PageButton>(page, indexed("Option5", 0), QRect(204, 72, 190, 22), QStringLiteral("放送前のサウンド..."));
    frame2_[1] = make<QGroupBox>(page, indexed("Frame2", 1), QRect(8, 96, 614, 192),
                                 QStringLiteral("送り・戻し時のサウンド"));
    frame2_[0] = make<QGroupBox>(
        page, indexed("Frame2", 0), QRect(8, 96, 614, 192),
        QStringLiteral("放送前のサウンド：※音声合成放送機能が有効でない場合は以下の設定は意味を持ちません。"));
    buildSoundSubPage(frame2_[1], 0, 8);
    buildSoundSubPage(frame2_[0], 2, 4);
    exclusive(page, {option5_[0], option5_[1]});
    option5_[1]->setChecked(true);
    Option5_Click(1);
}

// The two sound sub-pages have the same shape: "always this sound" with its file, "choose by a
// flag" with a file for each of the flag values 1 to 3, and whether the sound is waited for.
// `modeOption` is the index of the "always" button; the "by flag" one follows it.
void frmOption::buildSoundSubPage(QGroupBox* frame, int modeOption, int firstFlagSound)
{
    const bool stepping = modeOption == 0;
    const int alwaysSound = stepping ? 7 : 3;

    option2_[std::size_t(modeOption)] = make<QRadioButton>(frame, indexed("Option2", modeOption), QRect(10, 22, 196, 22),
                                                           QStringLiteral("常に右記のサウンドを鳴らす"));
    txtSelectSound_[std::size_t(alwaysSound)] =
        make<QLineEdit>(frame, indexed("txtSelectSound", alwaysSound), QRect(210, 22, 360, 22));
    cmdSelectSound_[std::size_t(alwaysSound)] =
        chooserButton(frame, indexed("cmdSelectSound", alwaysSound), QRect(574, 22, 32, 22));
    option2_[std::size_t(modeOption + 1)] = make<WrappingRadioButton>(
        frame, indexed("Option2", modeOption + 1), QRect(10, 46, 596, 32),
        stepping ? QStringLiteral("運賃データ(*.hy3)の特定の列のデータから判断して、以下の指定したサウンドを鳴らす（指定"
                                  "した列のデータの内容が1～3以外の場合はサウンドは鳴りません）")
                 : QStringLiteral("放送データ(*.Tp.csv)内のフラグから判断して、以下の指定したサウンドを鳴らす（フラグの内容"
                                  "が1～3以外の場合はサウンドは鳴りません）"));

    int top = 80;
    if (stepping) {
        QLabel* column = label(frame, indexed("Label1", 2),
                               QStringLiteral("運賃データの                        　　　　　　　　　列目                     "
                                              "のデータが、"),
                               QRect(28, top, 578, 22));
        combo1_ = dropDownList(frame, QStringLiteral("Combo1"));
        placeOnCaptionGap(combo1_, column, 0);
        top += 25;
    }
    static const char16_t* const flagCaptions[3] = {u"「1」の場合", u"「2」の場合", u"「3」の場合"};
    const int firstFlagLabel = stepping ? 3 : 9;
    for (int f = 0; f < 3; ++f) {
        const int sound = firstFlagSound + f;
        label(frame, indexed("Label1", firstFlagLabel + f), QString::fromUtf16(flagCaptions[f]), QRect(28, top, 76, 22));
        txtSelectSound_[std::size_t(sound)] =
            make<QLineEdit>(frame, indexed("txtSelectSound", sound), QRect(106, top, 200, 22));
        cmdSelectSound_[std::size_t(sound)] =
            chooserButton(frame, indexed("cmdSelectSound", sound), QRect(310, top, 32, 22));
        top += 25;
    }

    const int playTop = stepping ? 103 : 80;
    QGroupBox* play = make<QGroupBox>(frame, QLatin1String(stepping ? "Frame8" : "Frame9"),
                                      QRect(354, playTop, 252, 84), QStringLiteral("再生方法"));
    auto& options = stepping ? option6_ : option7_;
    const char* name = stepping ? "Option6" : "Option7";
    options[1] = make<WrappingRadioButton>(
        play, indexed(name, 1), QRect(8, 20, 240, 30),
        stepping ? QStringLiteral("非同期再生(サウンドを再生しながら運賃切り替え)")
                 : QStringLiteral("非同期再生(サウンドを再生しながら放送開始)"));
    options[0] = make<WrappingRadioButton>(
        play, indexed(name, 0), QRect(8, 50, 240, 30),
        stepping ? QStringLiteral("同期再生(サウンドが完全に再生された後で運賃切り替え)")
                 : QStringLiteral("同期再生(サウンドが完全に再生された後で放送開始)"));
    // Stepping should not wait for its chime; an announcement waits for the chime before it.
    exclusive(play, {options[0], options[1]});
    exclusive(frame, {option2_[std::size_t(modeOption)], option2_[std::size_t(modeOption + 1)]});
    options[stepping ? 1 : 0]->setChecked(true);
    option2_[std::size_t(modeOption)]->setChecked(true);

    if (!stepping)
        note(frame, indexed("Label1", 7),
             QStringLiteral("「放送前のサウンド」再生時は、停名のスクロールが停止することがありますので、あらかじめご了"
                            "承ください。"),
             QRect(10, 166, 596, 22));
}

void frmOption::buildSeiriPrevPage(QGroupBox* page)
{
    chkUseSeiriPrev_ = make<QCheckBox>(page, QStringLiteral("chkUseSeiriPrev"), QRect(10, 20, 400, 20),
                                       QStringLiteral("整理券プレビュー機能を使用する"));

    // Room for all ten property lines a plug-in can have, and as much for its notes.
    const int listHeight = 10 * fontMetrics().height() + 6;
    frame10_ = make<QGroupBox>(page, QStringLiteral("Frame10"), QRect(8, 42, 614, 82 + listHeight + 8),
                               QStringLiteral("整理券プラグイン設定"));
    label(frame10_, QStringLiteral("Label2"),
          QStringLiteral("整理券プラグイン（整理券プレビューを使用しない場合は、何も入れないでください）："),
          QRect(10, 20, 594, 18));
    txtSeiriPlgDir_ = make<QLineEdit>(frame10_, QStringLiteral("txtSeiriPlgDir"), QRect(10, 40, 528, 22));
    command1_ = chooserButton(frame10_, QStringLiteral("Command1"), QRect(542, 40, 32, 22));
    command11_ = button(frame10_, QStringLiteral("Command11"), QString(), QRect(578, 40, 26, 22));
    command11_->setIcon(crossIcon(palette().color(QPalette::ButtonText)));
    label(frame10_, QStringLiteral("Label11"), QStringLiteral("上記プラグインのプロパティ："), QRect(10, 64, 290, 18));
    list1_ = make<QListWidget>(frame10_, QStringLiteral("List1"), QRect(10, 82, 290, listHeight));
    label(frame10_, QStringLiteral("Label13"), QStringLiteral("上記プラグインの特記事項："), QRect(310, 64, 294, 18));
    txtPlginComment_ = make<QPlainTextEdit>(frame10_, QStringLiteral("txtPlginComment"), QRect(310, 82, 294, listHeight));
    // The plug-in writes its notes here; there is nothing for the user to edit.
    txtPlginComment_->setReadOnly(true);

    frame7_ = make<QGroupBox>(page, QStringLiteral("Frame7"), QRect(8, frame10_->geometry().bottom() + 3, 614, 118),
                              QStringLiteral("日付の設定（整理券プラグインが日付の印字をサポートしているときに有効）"));
    option4_[0] = make<QRadioButton>(frame7_, indexed("Option4", 0), QRect(10, 19, 594, 19),
                                     QStringLiteral("システムの日付を使用（整理券印字と同時に日付を更新、デフォルト）"));
    option4_[1] = make<QRadioButton>(frame7_, indexed("Option4", 1), QRect(10, 38, 594, 19),
                                     QStringLiteral("システムの日付を使用（系統設定した時点の日付を保持）"));
    note(frame7_, QStringLiteral("Label14"),
         QStringLiteral("系統設定した際の日付が保持され、日付が途中で変わっても次回系統設定するまで整理券の日付変更を行"
                        "いません。"),
         QRect(30, 57, 574, 30));
    option4_[2] = make<QRadioButton>(frame7_, indexed("Option4", 2), QRect(10, 88, 150, 22),
                                     QStringLiteral("右記の日付に固定"));
    exclusive(frame7_, {option4_[0], option4_[1], option4_[2]});
    option4_[0]->setChecked(true);
    label10_ = label(frame7_, QStringLiteral("Label10"), QString(), QRect(164, 88, 100, 22), Qt::AlignCenter);
    label10_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    command7_ = button(frame7_, QStringLiteral("Command7"), QStringLiteral("日付選択..."), QRect(270, 88, 100, 22));

    // Both frames appear only while the preview is switched on.
    for (QGroupBox* frame : {frame10_, frame7_}) {
        frame->setEnabled(false);
        frame->setVisible(false);
    }
}

}  // namespace fareboard
