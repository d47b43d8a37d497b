#include "options/WrappingRadioButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace fareboard {

WrappingRadioButton::WrappingRadioButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

void WrappingRadioButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    // The indicator sits beside the first line, where a reader starts.
    const int lineHeight = fontMetrics().height();
    QRect indicator = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this);
    indicator.moveTop((lineHeight - indicator.height()) / 2);
    option.rect = indicator;
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, option);

    QStyleOptionButton full;
    initStyleOption(&full);
    const QRect textRect = style()->subElementRect(QStyle::SE_RadioButtonContents, &full, this);
    painter.drawItemText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, palette(), isEnabled(), caption,
                         QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textRect;
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace fareboard
