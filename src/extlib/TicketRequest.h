#pragma once

#include "extlib/KobuRes.h"
#include "extlib/TicketPlugin.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

namespace fareboard {

// One call of a ticket plug-in, as the program hands it to the helper process that runs the
// plug-in, and the helper's answer. Both travel as length-prefixed frames over the helper's
// standard input and output.
enum class TicketOp : uint8_t { Info = 1, Notes = 2, Companies = 3, Draw = 4 };

struct TicketRequest {
    TicketOp op = TicketOp::Info;
    QString path;
    QImage picture;  // Draw: the picture to draw into (ARGB32), as ticketPictureOf makes it
    TicketFields fields;
};

struct TicketReply {
    bool accepted = false;  // the file opened as a plug-in (and, for Draw, the plug-in drew)
    PlgInfo info;
    QString notes;
    QStringList companies;
    QImage picture;  // Draw: the picture as the plug-in left it
};

// The helper's last plug-in, kept loaded while its file stays the same: loading it for every
// call was most of a ticket's cost. The program itself never keeps one (see QtKobuRes).
class TicketPluginCache {
public:
    // The plug-in at `path`, loaded again when the file changed; null when it is no plug-in.
    const TicketPlugin* get(const QString& path);

private:
    QString path_;
    qint64 size_ = -1;
    qint64 modifiedMs_ = -1;
    std::unique_ptr<TicketPlugin> plugin_;
};

// Runs the request against the plug-in file, loading it for this call only, or taking it from
// `cache` when one is given.
TicketReply runTicketRequest(const TicketRequest& request, TicketPluginCache* cache = nullptr);

// A frame is a 32-bit little-endian payload length and the payload. Nothing larger than the
// biggest picture and texts a plug-in may exchange is a frame.
inline constexpr qsizetype kMaxTicketFrameBytes = 2000 * 2000 * 4 + 1024 * 1024;

QByteArray encodeTicketRequest(const TicketRequest& request);
std::optional<TicketRequest> decodeTicketRequest(const QByteArray& payload);
QByteArray encodeTicketReply(const TicketReply& reply, TicketOp op);
// Null when the payload is not a well-formed answer to `op` (a Draw answer must carry a
// picture of `pictureSize`).
std::optional<TicketReply> decodeTicketReply(const QByteArray& payload, TicketOp op, QSize pictureSize);

// The frame around a payload, and the payload of the first complete frame at the start of
// `buffer` (removed from it); null while the frame is incomplete. `bad` is set when the
// length cannot be a frame.
QByteArray ticketFrame(const QByteArray& payload);
std::optional<QByteArray> takeTicketFrame(QByteArray& buffer, bool& bad);

}  // namespace fareboard
