#include "TicketRequest.h"

#include <QDataStream>
#include <QDateTime>
#include <QFileInfo>
#include <QIODevice>
#include <QtEndian>

namespace fareboard {
namespace {

constexpr int kMaxSide = 2000;

void writePicture(QDataStream& out, const QImage& picture)
{
    const QImage argb = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_ARGB32);
    out << qint32(argb.width()) << qint32(argb.height());
    for (int y = 0; y < argb.height(); ++y)
        out.writeRawData(reinterpret_cast<const char*>(argb.constScanLine(y)), argb.width() * 4);
}

bool readPicture(QDataStream& in, QImage& picture)
{
    qint32 width = 0, height = 0;
    in >> width >> height;
    if (in.status() != QDataStream::Ok || width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
        return false;
    if (width == 0 || height == 0) {
        picture = QImage();
        return true;
    }
    picture = QImage(width, height, QImage::Format_ARGB32);
    if (picture.isNull())
        return false;
    for (int y = 0; y < height; ++y) {
        if (in.readRawData(reinterpret_cast<char*>(picture.scanLine(y)), width * 4) != width * 4)
            return false;
    }
    return true;
}

void writeInfo(QDataStream& out, const PlgInfo& i)
{
    for (int32_t v : {i.Reserved0, i.PreviewWidth, i.PreviewHeight, i.CanPrintDate, i.CanPrintTime, i.CanPrintRouteNo,
                      i.CanPrintStopName, i.CanPrintBarcode, i.BarcodeCount, i.MaxRouteNo, i.BarcodeRouteMode,
                      i.StopRangeFrom, i.StopRangeTo, i.CorpSwitch})
        out << qint32(v);
}

void readInfo(QDataStream& in, PlgInfo& i)
{
    for (int32_t* v : {&i.Reserved0, &i.PreviewWidth, &i.PreviewHeight, &i.CanPrintDate, &i.CanPrintTime,
                       &i.CanPrintRouteNo, &i.CanPrintStopName, &i.CanPrintBarcode, &i.BarcodeCount, &i.MaxRouteNo,
                       &i.BarcodeRouteMode, &i.StopRangeFrom, &i.StopRangeTo, &i.CorpSwitch}) {
        qint32 value = 0;
        in >> value;
        *v = value;
    }
}

bool knownOp(quint8 op)
{
    return op >= quint8(TicketOp::Info) && op <= quint8(TicketOp::Draw);
}

}  // namespace

const TicketPlugin* TicketPluginCache::get(const QString& path)
{
    const QFileInfo file(path);
    const qint64 size = file.exists() ? file.size() : -1;
    const qint64 modified = file.exists() ? file.lastModified().toMSecsSinceEpoch() : -1;
    if (plugin_ && path == path_ && size == size_ && modified == modifiedMs_)
        return plugin_.get();
    // The old one goes first: the host's loader would hand back a library still loaded under
    // the same name instead of reading the new file.
    plugin_.reset();
    plugin_ = TicketPlugin::open(path);
    path_ = path;
    size_ = size;
    modifiedMs_ = modified;
    return plugin_.get();
}

TicketReply runTicketRequest(const TicketRequest& request, TicketPluginCache* cache)
{
    TicketReply reply;
    if (request.path.isEmpty())
        return reply;
    std::unique_ptr<TicketPlugin> once;
    const TicketPlugin* plugin = nullptr;
    if (cache) {
        plugin = cache->get(request.path);
    } else {
        once = TicketPlugin::open(request.path);
        plugin = once.get();
    }
    if (!plugin)
        return reply;
    switch (request.op) {
    case TicketOp::Info:
        reply.info = plugin->info();
        reply.accepted = true;
        break;
    case TicketOp::Notes:
        reply.notes = plugin->notes();
        reply.accepted = true;
        break;
    case TicketOp::Companies:
        reply.companies = plugin->companies();
        reply.accepted = true;
        break;
    case TicketOp::Draw:
        reply.picture = request.picture;
        reply.accepted = plugin->drawPicture(reply.picture, request.fields);
        if (!reply.accepted)
            reply.picture = QImage();
        break;
    }
    return reply;
}

QByteArray encodeTicketRequest(const TicketRequest& r)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << quint8(r.op) << r.path;
    if (r.op == TicketOp::Draw) {
        writePicture(out, r.picture);
        const TicketFields& f = r.fields;
        out << f.stopName << f.date << f.time << qint32(f.routeNo) << qint16(f.ticketNo) << qint16(f.section)
            << qint16(f.corpIndex);
    }
    return payload;
}

std::optional<TicketRequest> decodeTicketRequest(const QByteArray& payload)
{
    QDataStream in(payload);
    TicketRequest r;
    quint8 op = 0;
    in >> op >> r.path;
    if (!knownOp(op))
        return std::nullopt;
    r.op = TicketOp(op);
    if (r.op == TicketOp::Draw) {
        if (!readPicture(in, r.picture))
            return std::nullopt;
        qint32 routeNo = 0;
        qint16 ticketNo = 0, section = 0, corpIndex = 0;
        in >> r.fields.stopName >> r.fields.date >> r.fields.time >> routeNo >> ticketNo >> section >> corpIndex;
        r.fields.routeNo = routeNo;
        r.fields.ticketNo = ticketNo;
        r.fields.section = section;
        r.fields.corpIndex = corpIndex;
    }
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return r;
}

QByteArray encodeTicketReply(const TicketReply& r, TicketOp op)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << quint8(op) << quint8(r.accepted ? 1 : 0);
    switch (op) {
    case TicketOp::Info: writeInfo(out, r.info); break;
    case TicketOp::Notes: out << r.notes; break;
    case TicketOp::Companies: out << r.companies; break;
    case TicketOp::Draw: writePicture(out, r.accepted ? r.picture : QImage()); break;
    }
    return payload;
}

std::optional<TicketReply> decodeTicketReply(const QByteArray& payload, TicketOp op, QSize pictureSize)
{
    QDataStream in(payload);
    quint8 answered = 0, accepted = 0;
    in >> answered >> accepted;
    if (answered != quint8(op) || accepted > 1)
        return std::nullopt;
    TicketReply r;
    r.accepted = accepted == 1;
    switch (op) {
    case TicketOp::Info: readInfo(in, r.info); break;
    case TicketOp::Notes: in >> r.notes; break;
    case TicketOp::Companies: in >> r.companies; break;
    case TicketOp::Draw:
        if (!readPicture(in, r.picture))
            return std::nullopt;
        // A drawn picture comes back at the size it was sent; anything else is not our answer.
        if (r.accepted && r.picture.size() != pictureSize)
            return std::nullopt;
        break;
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return r;
}

QByteArray ticketFrame(const QByteArray& payload)
{
    QByteArray frame(4, '\0');
    qToLittleEndian(quint32(payload.size()), frame.data());
    return frame + payload;
}

std::optional<QByteArray> takeTicketFrame(QByteArray& buffer, bool& bad)
{
    bad = false;
    if (buffer.size() < 4)
        return std::nullopt;
    const quint32 length = qFromLittleEndian<quint32>(buffer.constData());
    if (length > quint32(kMaxTicketFrameBytes)) {
        bad = true;
        return std::nullopt;
    }
    if (buffer.size() - 4 < qsizetype(length))
        return std::nullopt;
    QByteArray payload = buffer.mid(4, length);
    buffer.remove(0, 4 + length);
    return payload;
}

}  // namespace fareboard
