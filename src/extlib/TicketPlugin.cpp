#include "TicketPlugin.h"

#include "fareboard_plugin.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace fareboard {

static_assert(sizeof(fareboard_ticket_info) == 56, "plug-ins built from the header fill exactly 56 bytes");

namespace {

constexpr int kMaxPreviewSide = FAREBOARD_PLUGIN_MAX_PREVIEW_SIDE;
// Notes and company lists are a few lines; anything longer is a fault in the plug-in and is
// shortened rather than trusted with an allocation of its own choosing.
constexpr int32_t kMaxTextBytes = 64 * 1024;
constexpr int kMaxCompanies = 256;

bool validSide(int32_t side) { return side >= 1 && side <= kMaxPreviewSide; }

// Length of the longest prefix of `bytes` that does not end inside a UTF-8 sequence, so a
// shortened text does not end in a broken character.
qsizetype completeUtf8Prefix(const QByteArray& bytes)
{
    qsizetype lead = bytes.size();
    int continuation = 0;
    while (lead > 0 && continuation < 4 && (uchar(bytes[lead - 1]) & 0xC0) == 0x80) {
        --lead;
        ++continuation;
    }
    if (lead == 0)
        return bytes.size();
    const uchar first = uchar(bytes[lead - 1]);
    const int expected = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : 0;
    return continuation < expected ? lead - 1 : bytes.size();
}

// Reads a text through the two-call protocol of the notes and company functions, never
// trusting the length the plug-in reports or the NUL it should have written.
QString readPluginText(fareboard_ticket_text_fn function)
{
    const int32_t length = function(nullptr, 0);
    if (length <= 0)
        return {};
    const int32_t capacity = std::min(length, kMaxTextBytes) + 1;
    QByteArray buffer(capacity, '\0');
    function(buffer.data(), capacity);
    buffer[capacity - 1] = '\0';
    QByteArray text(buffer.constData(), qsizetype(std::strlen(buffer.constData())));
    if (length > kMaxTextBytes)
        text.truncate(completeUtf8Prefix(text));
    return QString::fromUtf8(text);
}

PlgInfo plgInfoFrom(const fareboard_ticket_info& raw)
{
    PlgInfo info;
    info.Reserved0 = raw.reserved0;
    info.PreviewWidth = raw.preview_width;
    info.PreviewHeight = raw.preview_height;
    info.CanPrintDate = raw.can_print_date;
    info.CanPrintTime = raw.can_print_time;
    info.CanPrintRouteNo = raw.can_print_route_no;
    info.CanPrintStopName = raw.can_print_stop_name;
    info.CanPrintBarcode = raw.can_print_barcode;
    info.BarcodeCount = raw.barcode_count;
    info.MaxRouteNo = raw.max_route_no;
    info.BarcodeRouteMode = raw.barcode_route_mode;
    info.StopRangeFrom = raw.stop_range_from;
    info.StopRangeTo = raw.stop_range_to;
    info.CorpSwitch = raw.corp_switch;
    return info;
}

bool painterCanDrawOn(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_Invalid:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return false;
    default:
        return true;
    }
}

template <typename Function>
bool resolve(QLibrary& library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

}  // namespace

struct TicketPlugin::Functions {
    fareboard_ticket_abi_version_fn abiVersion = nullptr;
    fareboard_ticket_get_info_fn getInfo = nullptr;
    fareboard_ticket_text_fn getNotes = nullptr;
    fareboard_ticket_text_fn getCompanies = nullptr;
    fareboard_ticket_draw_fn draw = nullptr;
};

void TicketPlugin::Unloader::operator()(QLibrary* library) const
{
    if (library->isLoaded())
        library->unload();
    delete library;
}

TicketPlugin::TicketPlugin(LibraryHandle library, std::unique_ptr<Functions> functions, const PlgInfo& info)
    : library_(std::move(library)), functions_(std::move(functions)), info_(info)
{
}

TicketPlugin::~TicketPlugin() = default;

std::unique_ptr<TicketPlugin> TicketPlugin::open(const QString& path, TicketPluginError* error)
{
    TicketPluginError ignored;
    TicketPluginError& why = error ? *error : ignored;
    why = TicketPluginError::None;
    if (path.isEmpty()) {
        why = TicketPluginError::EmptyPath;
        return nullptr;
    }
    // Hand the host's loader an existing file by its absolute path only: given anything else it
    // would search the library folders and try "lib" prefixes and ".so" suffixes, and could load
    // a different file than the one the user chose.
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        why = TicketPluginError::NotAFile;
        return nullptr;
    }
    LibraryHandle library(new QLibrary(file.absoluteFilePath()));
    // Resolving every symbol at load time turns a plug-in built against missing libraries into
    // a refused file instead of a crash at its first call.
    library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library->load()) {
        why = TicketPluginError::NotALibrary;
        return nullptr;
    }
    if (QFileInfo(library->fileName()).canonicalFilePath() != file.canonicalFilePath()) {
        why = TicketPluginError::NotALibrary;
        return nullptr;
    }

    auto functions = std::make_unique<Functions>();
    if (!resolve(*library, "fareboard_ticket_abi_version", functions->abiVersion)
        || !resolve(*library, "fareboard_ticket_get_info", functions->getInfo)
        || !resolve(*library, "fareboard_ticket_get_notes", functions->getNotes)
        || !resolve(*library, "fareboard_ticket_get_companies", functions->getCompanies)
        || !resolve(*library, "fareboard_ticket_draw", functions->draw)) {
        why = TicketPluginError::MissingFunction;
        return nullptr;
    }
    if (functions->abiVersion() != FAREBOARD_PLUGIN_ABI_VERSION) {
        why = TicketPluginError::UnknownAbiVersion;
        return nullptr;
    }

    fareboard_ticket_info raw;
    std::memset(&raw, 0, sizeof raw);
    if (functions->getInfo(&raw) == 0) {
        why = TicketPluginError::InfoRefused;
        return nullptr;
    }
    const PlgInfo info = plgInfoFrom(raw);
    if (!validSide(info.PreviewWidth) || !validSide(info.PreviewHeight)) {
        why = TicketPluginError::InvalidPreviewSize;
        return nullptr;
    }
    return std::unique_ptr<TicketPlugin>(new TicketPlugin(std::move(library), std::move(functions), info));
}

QString TicketPlugin::notes() const
{
    QString text = readPluginText(functions_->getNotes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QStringList TicketPlugin::companies() const
{
    if (info_.CorpSwitch < 1)
        return {};
    return companyNamesFromText(readPluginText(functions_->getCompanies), kMaxCompanies);
}

void TicketPlugin::draw(QImage& surface, const TicketFields& fields) const
{
    QImage picture = ticketPictureOf(surface);
    if (!picture.isNull() && drawPicture(picture, fields))
        paintTicketPicture(surface, picture);
}

bool TicketPlugin::drawPicture(QImage& picture, const TicketFields& fields) const
{
    if (picture.isNull() || picture.format() != QImage::Format_ARGB32 || picture.width() > kMaxPreviewSide
        || picture.height() > kMaxPreviewSide)
        return false;
    const QByteArray stopName = fields.stopName.toUtf8();
    const QByteArray date = fields.date.toUtf8();
    const QByteArray time = fields.time.toUtf8();
    return functions_->draw(reinterpret_cast<uint32_t*>(picture.bits()), picture.width(), picture.height(),
                            int32_t(picture.bytesPerLine()), stopName.constData(), date.constData(), time.constData(),
                            fields.routeNo, fields.ticketNo, fields.section, fields.corpIndex)
        != 0;
}

QImage ticketPictureOf(const QImage& surface)
{
    if (surface.isNull())
        return {};
    // The plug-in draws into a picture we own, of exactly the size we tell it, and only a
    // picture it says it finished is put on the preview.
    const int width = std::min(surface.width(), kMaxPreviewSide);
    const int height = std::min(surface.height(), kMaxPreviewSide);
    return surface.copy(0, 0, width, height).convertToFormat(QImage::Format_ARGB32);
}

void paintTicketPicture(QImage& surface, const QImage& picture)
{
    if (surface.isNull() || picture.isNull())
        return;
    if (painterCanDrawOn(surface)) {
        QPainter painter(&surface);
        painter.drawImage(0, 0, picture);
        return;
    }
    QImage composed = surface.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&composed);
        painter.drawImage(0, 0, picture);
    }
    surface = composed.convertToFormat(surface.format());
}

QStringList companyNamesFromText(const QString& text, int maxNames)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    if (lines.size() > maxNames)
        lines.resize(maxNames);
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

}  // namespace fareboard
