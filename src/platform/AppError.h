#pragma once

#include <QString>

namespace fareboard {

// Error numbers the program reports to the user. Users of this kind of program know the
// classic runtime numbers from the original boards' software, so file and picture failures
// keep them rather than errno values.
namespace ErrorNumber {
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPicture = 481;
}  // namespace ErrorNumber

// The host's wording for an error number, as a Japanese desktop would show it.
QString describeError(int number);

// A failure that an operation hands to its caller's handler: the number and the text that
// the handler shows. Thrown, because the caller that reports may be several frames up
// (a settings exchange inside the settings loader, for instance).
class AppError {
public:
    explicit AppError(int number) : number_(number), description_(describeError(number)) {}
    AppError(int number, QString description) : number_(number), description_(std::move(description)) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

}  // namespace fareboard
