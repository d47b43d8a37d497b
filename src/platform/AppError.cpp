#include "AppError.h"

namespace fareboard {

QString describeError(int number)
{
    switch (number) {
    case ErrorNumber::Overflow: return QStringLiteral("オーバーフローしました。");
    case ErrorNumber::SubscriptOutOfRange: return QStringLiteral("インデックスが有効範囲にありません。");
    case ErrorNumber::BadFileName: return QStringLiteral("ファイル名または番号が不正です。");
    case ErrorNumber::FileNotFound: return QStringLiteral("ファイルが見つかりません。");
    case ErrorNumber::DeviceIo: return QStringLiteral("デバイス I/O エラーです。");
    case ErrorNumber::DiskFull: return QStringLiteral("ディスクの空き容量が不足しています。");
    case ErrorNumber::InputPastEndOfFile: return QStringLiteral("ファイルにこれ以上データがありません。");
    case ErrorNumber::PermissionDenied: return QStringLiteral("書き込みできません。");
    case ErrorNumber::PathFileAccess: return QStringLiteral("パス名が無効です。");
    case ErrorNumber::PathNotFound: return QStringLiteral("パスが見つかりません。");
    case ErrorNumber::InvalidPropertyValue: return QStringLiteral("プロパティの値が無効です。");
    case ErrorNumber::InvalidPicture: return QStringLiteral("ピクチャが不正です。");
    default: return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
    }
}

}  // namespace fareboard
