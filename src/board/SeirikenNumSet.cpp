#include "SeirikenNumSet.h"

#include "board/Form1.h"
#include "platform/AppError.h"
#include "platform/MessageBox.h"
#include "platform/Typefaces.h"

#include <QLabel>

namespace fareboard {
namespace {

constexpr int kLabelPointSize = 9;

}  // namespace

QString seiriNumText(int number, bool zeroPad)
{
    QString digits = QString::number(number);
    if (zeroPad && digits.size() < 2)
        digits.prepend(QLatin1Char('0'));
    for (QChar& c : digits)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            c = QChar(0xFF10 + (c.unicode() - '0'));
    return digits;
}

void SeirikenNumSet(Form1& board, int16_t mode, int16_t zeroPad, MessageBox& messageBox)
{
    try {
        if (mode < 0 || mode > 11)
            return;
        static const char* const kFirstLabel[] = {"な し", "無 券", "券なし", "券無し", ""};
        QLabel* first = board.lblSeiriNum(1);
        if (mode < 2) {
            first->setFont(typeface(Typeface::NumC2, kLabelPointSize));
        } else {
            first->setFont(typeface(Typeface::PGothic, kLabelPointSize));
            first->setText(QString::fromUtf8(kFirstLabel[(mode - 2) / 2]));
        }
        const bool pad = zeroPad != 0;
        if (mode == 0) {
            for (int n = 1; n <= 24; ++n)
                board.lblSeiriNum(n)->setText(seiriNumText(n, pad));
        } else if (mode == 1) {
            for (int n = 0; n <= 23; ++n)
                board.lblSeiriNum(n + 1)->setText(seiriNumText(n, pad));
        } else if (mode % 2 == 1) {
            for (int n = 1; n <= 23; ++n)
                board.lblSeiriNum(n + 1)->setText(seiriNumText(n + 1, pad));
        } else {
            for (int n = 1; n <= 23; ++n)
                board.lblSeiriNum(n + 1)->setText(seiriNumText(n, pad));
        }
    } catch (const AppError& e) {
        messageBox.show(QStringLiteral("エラーです！\r\n\r\nコード：") + QString::number(e.number()) +
                            QStringLiteral("\r\n\r\n内容：") + e.description() +
                            QStringLiteral("\r\n\r\nモジュール：IniIO-SeirikenNumSet( )"),
                        QStringLiteral("エラー！"), MessageBox::Icon::Critical, MessageBox::Buttons::Ok);
    }
}

}  // namespace fareboard
