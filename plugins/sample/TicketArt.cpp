#include "TicketArt.h"

#include "Itf.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace sample {

// No QStringLiteral anywhere in the plug-in: its text would live in the plug-in's own memory,
// and Qt's font caches may keep a string after the program has unloaded the plug-in again.

namespace {

const QColor kPaper(0xFF, 0xFD, 0xF4);
const QColor kPaperEdge(0xC9, 0xC2, 0xB0);
const QColor kInk(0x1C, 0x1A, 0x18);
const QColor kFaintInk(0x6E, 0x69, 0x60);
const QColor kPrintedRed(0xC4, 0x2B, 0x1C);  // the pre-printed colour of the paper roll

QFont gothic(double pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QString::fromUtf8("IPAGothic"), QString::fromUtf8("IPAPGothic"),
                      QString::fromUtf8("Noto Sans CJK JP"), QString::fromUtf8("DejaVu Sans")});
    font.setPixelSize(std::max(1, int(pixelSize)));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// The largest gothic face up to `pixelSize` in which `text` fits `width`, not below `minimum`.
QFont fittedGothic(const QString& text, double pixelSize, double minimum, double width, bool bold)
{
    for (double size = pixelSize; size > minimum; size -= 1) {
        const QFont font = gothic(size, bold);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width)
            return font;
    }
    return gothic(minimum, bold);
}

// Ticket machines print the number in a heavy face; the gothic we have has one weight, so the
// outline is stroked as well as filled to thicken it.
void drawHeavyNumber(QPainter& painter, const QRectF& box, const QString& number)
{
    constexpr double stroke = 3.5;
    const QFont font = fittedGothic(number, 74, 20, box.width() - stroke, false);
    QPainterPath path;
    path.addText(0, 0, font, number);
    const QRectF ink = path.boundingRect();
    path.translate(box.center() - ink.center());
    painter.save();
    painter.setPen(QPen(kInk, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(kInk);
    painter.drawPath(path);
    painter.restore();
}

void drawBarcode(QPainter& painter, const QRectF& area, const std::string& digits)
{
    const std::string elements = itfElements(digits);
    // Bars are laid in whole device pixels whatever the ticket's scale, so a reader (or a test)
    // sees sharp edges: two-pixel narrow modules at full size, one pixel when scaled down, and
    // wide ones 2.5 to 3 times as wide.
    const QRect device = painter.transform().mapRect(area).toRect();
    const double scale = painter.transform().m11();
    const int narrow = std::max(1, int(std::lround(2 * scale)));
    const int wide = narrow == 1 ? 3 : int(std::lround(narrow * 2.5));
    int width = 0;
    for (char e : elements)
        width += e == 'w' ? wide : narrow;
    int x = device.left() + (device.width() - width) / 2;
    painter.save();
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    bool bar = true;
    for (char e : elements) {
        const int w = e == 'w' ? wide : narrow;
        if (bar)
            painter.drawRect(QRect(x, device.top(), w, device.height()));
        x += w;
        bar = !bar;
    }
    painter.restore();
}

}  // namespace

QString printedDate(const QString& date)
{
    const QRegularExpression systemDate(QString::fromUtf8("^(\\d{2})-(\\d{2})-(\\d{4})$"));
    const QRegularExpression fixedDate(QString::fromUtf8("^(\\d{4})/(\\d{2})/(\\d{2})$"));
    const QString dot = QString::fromUtf8(".");
    if (const auto m = systemDate.match(date); m.hasMatch())
        return m.captured(3) + dot + m.captured(1) + dot + m.captured(2);
    if (const auto m = fixedDate.match(date); m.hasMatch())
        return m.captured(1) + dot + m.captured(2) + dot + m.captured(3);
    return date;
}

QString printedTime(const QString& time)
{
    const QRegularExpression clock(QString::fromUtf8("^(\\d{2}:\\d{2}):\\d{2}$"));
    if (const auto m = clock.match(time); m.hasMatch())
        return m.captured(1);
    return time;
}

void paintTicket(QImage& picture, const TicketText& text)
{
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = std::min(double(picture.width()) / kTicketWidth, double(picture.height()) / kTicketHeight);
    painter.scale(scale, scale);

    // The paper: a strip torn off the roll, with a soft shadow on the preview's white.
    const QRectF paper(3, 3, kTicketWidth - 7, kTicketHeight - 7);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 28));
    painter.drawRoundedRect(paper.translated(2, 2), 5, 5);
    painter.setBrush(kPaper);
    painter.setPen(QPen(kPaperEdge, 1));
    painter.drawRoundedRect(paper, 5, 5);

    // Left: the pre-printed red caption and the ticket number the machine prints under it.
    // The roll's pre-printed instruction along the bottom edge.
    const QRectF footer(paper.left() + 8, paper.bottom() - 16, paper.width() - 16, 12);
    painter.setPen(kPrintedRed);
    painter.setFont(gothic(9, false));
    painter.drawText(footer, Qt::AlignCenter, QString::fromUtf8("降車の際、運賃と一緒に運賃箱へお入れください"));
    painter.setPen(QPen(kPrintedRed, 0.8));
    painter.drawLine(QPointF(footer.left(), footer.top() - 2), QPointF(footer.right(), footer.top() - 2));

    const QRectF left(paper.left() + 8, paper.top() + 7, 96, footer.top() - paper.top() - 12);
    const QRectF caption(left.left(), left.top(), left.width(), 22);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPrintedRed);
    painter.drawRoundedRect(caption, 3, 3);
    painter.setPen(kPaper);
    painter.setFont(gothic(16, true));
    painter.drawText(caption, Qt::AlignCenter, QString::fromUtf8("整 理 券"));

    const QString number = QString::number(text.ticketNo);
    const QRectF numberBox(left.left(), caption.bottom() + 3, left.width(), 70);
    drawHeavyNumber(painter, numberBox, number);

    const QRectF routeBox(left.left(), left.bottom() - 21, left.width(), 21);
    painter.setPen(QPen(kPrintedRed, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(routeBox);
    painter.setPen(kPrintedRed);
    painter.setFont(gothic(11, true));
    const QRectF routeLabel(routeBox.left(), routeBox.top(), 34, routeBox.height());
    painter.drawText(routeLabel, Qt::AlignCenter, QString::fromUtf8("系統"));
    painter.drawLine(QPointF(routeLabel.right(), routeBox.top()), QPointF(routeLabel.right(), routeBox.bottom()));
    painter.setPen(kInk);
    painter.setFont(gothic(14, true));
    const QString route = text.routeNo > 0 ? QString::number(text.routeNo) : QString::fromUtf8("--");
    painter.drawText(QRectF(routeLabel.right(), routeBox.top(), routeBox.right() - routeLabel.right(), routeBox.height()),
                     Qt::AlignCenter, route);

    // The tear line between the stub and the printed part.
    const double split = left.right() + 9;
    painter.setPen(QPen(kPaperEdge, 1, Qt::DashLine));
    painter.drawLine(QPointF(split, paper.top() + 6), QPointF(split, footer.top() - 6));

    // Right: company, boarding stop, date and time, barcode.
    const QRectF right(split + 8, paper.top() + 6, paper.right() - split - 14, footer.top() - paper.top() - 10);
    double y = right.top();
    const QString company = text.company.isEmpty() ? QString::fromUtf8("乗合バス") : text.company;
    painter.setPen(kPrintedRed);
    painter.setFont(fittedGothic(company, 12, 7, right.width(), true));
    painter.drawText(QRectF(right.left(), y, right.width(), 16), Qt::AlignLeft | Qt::AlignVCenter, company);
    y += 18;

    painter.setPen(kFaintInk);
    painter.setFont(gothic(9, false));
    painter.drawText(QRectF(right.left(), y, right.width(), 11), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8("乗車停留所"));
    y += 11;
    const QString stop = text.stopName.isEmpty() ? QString::fromUtf8("―") : text.stopName;
    QFont stopFont = fittedGothic(stop, 19, 10, right.width(), true);
    painter.setFont(stopFont);
    painter.setPen(kInk);
    const QString shownStop = QFontMetricsF(stopFont).elidedText(stop, Qt::ElideRight, right.width());
    painter.drawText(QRectF(right.left(), y, right.width(), 22), Qt::AlignLeft | Qt::AlignVCenter, shownStop);
    y += 24;

    painter.setFont(gothic(12, false));
    painter.drawText(QRectF(right.left(), y, right.width(), 15), Qt::AlignLeft | Qt::AlignVCenter,
                     printedDate(text.date));
    painter.drawText(QRectF(right.left(), y, right.width(), 15), Qt::AlignRight | Qt::AlignVCenter,
                     printedTime(text.time));
    y += 19;

    const std::string digits = ticketBarcodeDigits(text.routeNo, text.ticketNo);
    const QRectF bars(right.left(), y, right.width(), right.bottom() - y - 11);
    drawBarcode(painter, bars, digits);
    painter.setPen(kInk);
    painter.setFont(gothic(9, false));
    const QString human = QString::fromStdString(digits);
    painter.drawText(QRectF(right.left(), bars.bottom() + 1, right.width(), 10), Qt::AlignCenter,
                     human.left(4) + QString::fromUtf8(" ") + human.mid(4, 3) + QString::fromUtf8(" ") + human.mid(7));
}

}  // namespace sample
