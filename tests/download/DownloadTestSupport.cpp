#include "DownloadTestSupport.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFile>

#include "download/EntryState.h"

DownloadEntry DownloadListFixture::add(const QString& address, const QString& name,
                                       const QString& type, const QString& folder) {
    DownloadEntry entry(list, list.add(address, name));
    entry.setType(type);
    entry.setFolder(folder.isEmpty() ? dir() : folder);
    entry.setState(EntryState::Waiting);
    return entry;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

constexpr quint32 kOverrides =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool Capabilities(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capget, &header, data) == 0;
}

bool SetCapabilities(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

FilePermissionsHonoured::FilePermissionsHonoured() {
    __user_cap_data_struct data[2]{};
    if (!Capabilities(data) || (data[0].effective & kOverrides) == 0) {
        return;
    }
    saved_[0] = data[0].effective;
    saved_[1] = data[1].effective;
    data[0].effective &= ~kOverrides;
    changed_ = SetCapabilities(data);
}

FilePermissionsHonoured::~FilePermissionsHonoured() {
    __user_cap_data_struct data[2]{};
    if (!changed_ || !Capabilities(data)) {
        return;
    }
    data[0].effective = saved_[0];
    data[1].effective = saved_[1];
    SetCapabilities(data);
}
