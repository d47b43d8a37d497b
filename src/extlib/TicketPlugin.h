#pragma once

#include "extlib/KobuRes.h"

#include <QLibrary>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QImage;

namespace fareboard {

// Why a file was not accepted as a ticket plug-in. Callers only need "accepted or not"; the
// reason is for tests and for anyone debugging their own plug-in.
enum class TicketPluginError {
    None,
    EmptyPath,
    NotAFile,            // missing, a folder, or unreadable
    NotALibrary,         // the loader of the host would not load it
    MissingFunction,     // one of the five functions is not exported
    UnknownAbiVersion,
    InfoRefused,         // the plug-in's info function returned 0
    InvalidPreviewSize,  // a preview side outside 1..2000 pixels
};

// What one ticket shows. Texts are the program's own (Unicode); they reach the plug-in as UTF-8.
struct TicketFields {
    QString stopName;
    QString date;
    QString time;
    int32_t routeNo = 0;
    int16_t ticketNo = 0;
    int16_t section = 0;
    int16_t corpIndex = -1;
};

// One ticket plug-in file, loaded and checked. The library stays loaded as long as the object
// lives and is unloaded by its destructor, so callers hold it only for one operation: a user
// may rebuild or replace the file at any time.
class TicketPlugin {
public:
    // Loads the shared library at `path`, checks its interface version and the five functions,
    // and asks for its info. Returns null, with the reason in `error`, when the file is not a
    // usable plug-in; nothing of it stays loaded then.
    static std::unique_ptr<TicketPlugin> open(const QString& path, TicketPluginError* error = nullptr);

    ~TicketPlugin();
    TicketPlugin(const TicketPlugin&) = delete;
    TicketPlugin& operator=(const TicketPlugin&) = delete;

    // The record as the plug-in filled it, its sizes already checked.
    const PlgInfo& info() const { return info_; }

    // The plug-in's notes, with line breaks as "\n"; empty when it has none.
    QString notes() const;

    // The company names in the plug-in's order; empty when it supplies none.
    QStringList companies() const;

    // Draws one ticket over `surface` (its whole size, at most 2000 pixels a side). A null
    // surface or a plug-in that declines leaves the surface untouched.
    void draw(QImage& surface, const TicketFields& fields) const;

    // The plug-in's part of draw: it draws into `picture` (ARGB32, at most 2000 pixels a side,
    // as ticketPictureOf makes it); true when it says it drew.
    bool drawPicture(QImage& picture, const TicketFields& fields) const;

private:
    struct Functions;
    // Unloads as well as deletes: QLibrary's own destructor leaves the library mapped.
    struct Unloader {
        void operator()(QLibrary* library) const;
    };
    using LibraryHandle = std::unique_ptr<QLibrary, Unloader>;

    TicketPlugin(LibraryHandle library, std::unique_ptr<Functions> functions, const PlgInfo& info);

    LibraryHandle library_;
    std::unique_ptr<Functions> functions_;
    PlgInfo info_;
};

// The picture a plug-in draws into for `surface`: a copy of it, at most 2000 pixels a side, in
// the plug-in's pixel layout. Null for a null surface.
QImage ticketPictureOf(const QImage& surface);

// Puts a drawn ticket picture over the surface, whatever the surface's format.
void paintTicketPicture(QImage& surface, const QImage& picture);

// Splits a plug-in's company text into names: one per line, CR LF or LF, a final line break
// adds no empty name, and at most `maxNames` names are taken.
QStringList companyNamesFromText(const QString& text, int maxNames);

}  // namespace fareboard
