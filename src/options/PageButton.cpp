#include "options/PageButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace fareboard {

namespace {

bool isSpace(QChar c) { return c == u' ' || c == u'\u3000'; }
bool isHiragana(QChar c) { return c >= u'\u3041' && c <= u'\u309F'; }

}  // namespace

QString captionLines(const QString& caption, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(caption) <= width)
        return caption;
    // Japanese has no spaces between words; a phrase ends where a particle (hiragana) meets the
    // next word, and a wide space marks a break the caption's author asked for. Break at the
    // place that keeps both lines shortest.
    int bestBreak = -1;
    int bestWidth = 0;
    for (int i = 1; i < caption.size(); ++i) {
        const bool phraseEnd = isHiragana(caption[i - 1]) && !isHiragana(caption[i]) && !isSpace(caption[i]);
        const bool spaceEnd = isSpace(caption[i - 1]) && !isSpace(caption[i]);
        if (!phraseEnd && !spaceEnd)
            continue;
        const QString first = caption.left(i).trimmed();
        const QString second = caption.mid(i).trimmed();
        if (first.isEmpty())
            continue;
        const int longer = std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
        if (bestBreak < 0 || longer < bestWidth) {
            bestBreak = i;
            bestWidth = longer;
        }
    }
    if (bestBreak < 0 || bestWidth > width)
        return caption;  // the painter's own wrapping has to do
    return caption.left(bestBreak).trimmed() + QLatin1Char('\n') + caption.mid(bestBreak).trimmed();
}

PageButton::PageButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    // The holder puts the buttons of one row into a group, so choosing one releases the others.
    setCheckable(true);
    setAutoDefault(false);
}

void PageButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const int shift = isChecked() || isDown() ? 1 : 0;
    const QRect textRect = rect().adjusted(4 + shift, 2 + shift, -4 + shift, -2 + shift);
    painter.drawItemText(textRect, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(),
                         captionLines(text(), fontMetrics(), textRect.width()), QPalette::ButtonText);
}

}  // namespace fareboard
