#pragma once

#include <QString>

// Every section and key of the settings store, with its default on reading.
// The Chinese names are the stored names and never change.
namespace Settings {

// The application title: the captions' suffix and the store's application name.
inline const QString kAppTitle = QStringLiteral("Orvellin");

struct Key {
    QString section;
    QString key;
    QString defaultValue;
};

inline const QString kSectionSettings = QStringLiteral("设置");
inline const QString kSectionDuplicate = QStringLiteral("专利下载");
inline const QString kSectionDownload = QStringLiteral("下载");
inline const QString kSectionDownloadWindow = QStringLiteral("fFileDownload");
inline const QString kSectionSearchWindow = QStringLiteral("fWebSearch");
inline const QString kSectionCopyMove = QStringLiteral("Form_Copy_Move");

// The default save folder is filled in from the home folder by AppPaths.
inline const Key kSaveFolder{kSectionSettings, QStringLiteral("下载文件保存路径"), QString()};
inline const Key kMaxFileSize{kSectionSettings, QStringLiteral("文件最大值"), QStringLiteral("10")};
inline const Key kDownloadMethod{kSectionSettings, QStringLiteral("下载方式"), QStringLiteral("2")};
inline const Key kProxyHost{kSectionSettings, QStringLiteral("代理服务器网址"), QString()};
inline const Key kProxyPort{kSectionSettings, QStringLiteral("代理服务器端口"), QString()};
inline const Key kProxyEnabled{kSectionSettings, QStringLiteral("代理服务器有效"),
                               QStringLiteral("0")};
inline const Key kAskPathAtExtraction{
    kSectionSettings, QStringLiteral("提取网页信息时提示下载保存路径"), QStringLiteral("1")};
inline const Key kDuplicatePolicy{kSectionDuplicate, QStringLiteral("重复文件名设置"),
                                  QStringLiteral("重命名")};
inline const Key kSlotChoice{kSectionDownload, QStringLiteral("线程"), QStringLiteral("2")};
inline const Key kSearchKeywords{kSectionSearchWindow, QStringLiteral("Text1"), QString()};
inline const Key kSearchDelay{kSectionSearchWindow, QStringLiteral("Combo1"), QStringLiteral("0")};
inline const Key kSearchTimeout{kSectionSearchWindow, QStringLiteral("Combo2"),
                                QStringLiteral("0")};
// The default destination folder is the program's data folder (AppPaths).
inline const Key kCopyMoveFolder{kSectionCopyMove, QStringLiteral("目的文件夹"), QString()};
inline const Key kCopyMoveOption{kSectionCopyMove, QStringLiteral("OpIndex"), QStringLiteral("4")};

}  // namespace Settings
