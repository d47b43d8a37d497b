#include "BuiltinPanel.h"

#include "board/BoardLayout.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QResource>

#include <cstring>

namespace fareboard {
namespace {

using namespace BoardLayout;

const QColor kHousingTop(46, 48, 52);
const QColor kHousingBottom(26, 27, 30);
const QColor kWindowInk(6, 6, 7);
const QColor kStripInk(20, 21, 24);
const QColor kHighlight(86, 89, 95);
const QColor kShadow(8, 8, 9);
const QColor kPrint(196, 198, 190);

// A recessed window: dark inside, shadow on the upper and left edges, a light lip below and right.
void recess(QPainter& p, const QRect& r, const QColor& inside)
{
    p.fillRect(r, inside);
    p.setPen(kShadow);
    p.drawLine(r.topLeft() + QPoint(-1, -1), r.topRight() + QPoint(1, -1));
    p.drawLine(r.topLeft() + QPoint(-1, -1), r.bottomLeft() + QPoint(-1, 1));
    p.setPen(kHighlight);
    p.drawLine(r.bottomLeft() + QPoint(-1, 1), r.bottomRight() + QPoint(1, 1));
    p.drawLine(r.topRight() + QPoint(1, -1), r.bottomRight() + QPoint(1, 1));
}

void screw(QPainter& p, QPoint c)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient g(c - QPointF(1, 1), 4);
    g.setColorAt(0, QColor(150, 152, 156));
    g.setColorAt(1, QColor(60, 62, 66));
    p.setBrush(g);
    p.setPen(QColor(14, 14, 16));
    p.drawEllipse(QPointF(c), 3.5, 3.5);
    p.setPen(QPen(QColor(30, 30, 32), 1));
    p.drawLine(QPointF(c) + QPointF(-2.2, 0), QPointF(c) + QPointF(2.2, 0));
    p.setRenderHint(QPainter::Antialiasing, false);
}

QFont printFont(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

}  // namespace

QImage makeBuiltinPanel()
{
    QImage img(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
    QPainter p(&img);

    // Housing: brushed dark metal with a bevelled edge.
    QLinearGradient body(0, 0, 0, kPanelHeight);
    body.setColorAt(0, kHousingTop);
    body.setColorAt(1, kHousingBottom);
    p.fillRect(img.rect(), body);
    p.setPen(QColor(255, 255, 255, 10));
    for (int y = 1; y < kPanelHeight; y += 3)
        p.drawLine(1, y, kPanelWidth - 2, y);
    p.setPen(kHighlight);
    p.drawLine(0, 0, kPanelWidth - 1, 0);
    p.drawLine(0, 0, 0, kPanelHeight - 1);
    p.setPen(kShadow);
    p.drawLine(0, kPanelHeight - 1, kPanelWidth - 1, kPanelHeight - 1);
    p.drawLine(kPanelWidth - 1, 0, kPanelWidth - 1, kPanelHeight - 1);

    // Header: the extra number window, the spare digit and the clock.
    recess(p, kSeiriNum0Rect.adjusted(-1, -1, 1, 1), kStripInk);
    recess(p, kDegit0Rect.adjusted(-2, 0, 2, 1), kWindowInk);
    const QRect clock = kTimeDegitRect[0].united(kTimeDegitRect[1]).adjusted(-3, 0, 3, 1);
    recess(p, clock, kWindowInk);
    p.setPen(kPrint);
    p.setFont(printFont(11));
    p.drawText(QRect(200, 3, 156, 20), Qt::AlignCenter, QStringLiteral("運　賃　表"));
    p.setFont(printFont(9));
    p.drawText(QRect(424, 3, 56, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("時　分"));
    p.setPen(QColor(150, 40, 30));
    p.setBrush(QColor(150, 40, 30));
    p.drawRect(clock.center().x(), clock.top() + 6, 1, 1);
    p.drawRect(clock.center().x(), clock.bottom() - 7, 1, 1);

    // Stop-name column: a tall window with "次は" printed above it.
    recess(p, kChimeiRect.adjusted(-2, -2, 2, 2), kWindowInk);
    p.setPen(kPrint);
    p.setFont(printFont(10, true));
    p.drawText(QRect(kChimeiRect.left() - 6, 26, kChimeiRect.width() + 12, 13), Qt::AlignCenter,
               QStringLiteral("次は"));

    // Fare field: one dark glass behind all cells, then each ticket-number strip and fare cell.
    const QRect field = degitRect(1).united(degitRect(24)).united(seiriNumRect(1)).adjusted(-5, -4, 6, 5);
    recess(p, field, QColor(13, 13, 15));
    for (int i = 1; i <= kFareColumns * kFareRows; ++i) {
        recess(p, seiriNumRect(i).adjusted(-1, 0, 1, 0), kStripInk);
        recess(p, degitRect(i), kWindowInk);
    }

    // Footer print, as on a real board's bezel.
    p.setPen(kPrint);
    p.setFont(printFont(10));
    p.drawText(QRect(field.left(), field.bottom() + 4, field.width(), 22), Qt::AlignCenter,
               QStringLiteral("整理券番号の下が運賃です　　おつりのないようにご用意ください"));

    for (QPoint c : {QPoint(8, 8), QPoint(kPanelWidth - 9, 8), QPoint(8, kPanelHeight - 9),
                     QPoint(kPanelWidth - 9, kPanelHeight - 9)})
        screw(p, c);
    return img;
}

QImage builtinPanel()
{
    const QResource built(QStringLiteral(":/board/builtin-panel.rgb32"));
    const qsizetype bytes = qsizetype(kPanelWidth) * kPanelHeight * 4;
    // Carried uncompressed, the picture is used where it lies in the program's memory: nothing
    // to unpack or copy at start, and a page is read only when the board first paints it.
    if (built.compressionAlgorithm() == QResource::NoCompression && built.size() == bytes &&
        reinterpret_cast<quintptr>(built.data()) % alignof(quint32) == 0)
        return QImage(built.data(), kPanelWidth, kPanelHeight, kPanelWidth * 4, QImage::Format_RGB32);
    const QByteArray pixels = built.uncompressedData();
    if (pixels.size() != bytes)
        return makeBuiltinPanel();
    QImage panel(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
    for (int y = 0; y < kPanelHeight; ++y)
        std::memcpy(panel.scanLine(y), pixels.constData() + qsizetype(y) * kPanelWidth * 4, std::size_t(kPanelWidth) * 4);
    return panel;
}

}  // namespace fareboard
