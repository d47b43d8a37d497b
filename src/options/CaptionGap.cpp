#include "options/CaptionGap.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <stdexcept>

namespace fareboard {

namespace {

bool isSpace(QChar c) { return c == u' ' || c == u'\u3000'; }

// Where the host starts drawing its caption, in its own coordinates.
int captionLeft(const QWidget* host)
{
    QStyleOptionButton option;
    option.initFrom(host);
    if (qobject_cast<const QCheckBox*>(host))
        return host->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, host).left();
    if (qobject_cast<const QRadioButton*>(host))
        return host->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, host).left();
    if (const auto* label = qobject_cast<const QLabel*>(host))
        return label->contentsRect().left() + label->margin();
    return 0;
}

QString captionOf(const QWidget* host)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(host))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(host))
        return label->text();
    return {};
}

}  // namespace

QList<TextRun> spaceRuns(const QString& caption)
{
    QList<TextRun> runs;
    int i = 0;
    while (i < caption.size()) {
        if (!isSpace(caption[i])) {
            ++i;
            continue;
        }
        int end = i;
        while (end < caption.size() && isSpace(caption[end]))
            ++end;
        if (end - i >= 2)
            runs.append({i, end - i});
        i = end;
    }
    return runs;
}

void placeOnCaptionGap(QWidget* inset, const QWidget* host, int runIndex)
{
    const QString caption = captionOf(host);
    const QList<TextRun> runs = spaceRuns(caption);
    if (runIndex < 0 || runIndex >= runs.size())
        throw std::out_of_range("caption has no such gap");
    const TextRun run = runs[runIndex];
    const QFontMetrics metrics = host->fontMetrics();
    // Keep a little air on both sides so the list does not touch the words around it.
    const int left = captionLeft(host) + metrics.horizontalAdvance(caption.left(run.start)) + 2;
    const int width = metrics.horizontalAdvance(caption.mid(run.start, run.length)) - 4;
    const int height = inset->sizeHint().height();
    // Hosts draw a one-line caption centred on their height.
    const int top = host->y() + (host->height() - height) / 2;
    inset->setGeometry(host->x() + left, top, width, height);
    inset->raise();
}

}  // namespace fareboard
